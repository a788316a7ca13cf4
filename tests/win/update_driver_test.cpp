// The update run's rights check. Wine makes every user an administrator, so the run
// is given the install locations of this machine with the answer of a user who is
// not one: the language file's "noright" text, exit code 3, nothing written.
#include "app/update_driver.h"

#include "base/program_state.h"
#include "lang_fixture.h"

namespace orvel {
namespace {

using test::DialogRobot;
using test::LangFileText;

constexpr char kUserKey[] = "Software\\Veltro\\Orvel";
constexpr char kUninstallKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Orvel";

bool LocationsOfANonAdministrator() {
  if (!FindInstallLocations()) return false;
  Program().UserIsAdmin = false;
  return true;
}

TEST(UpdateDriverTest, UserWhoIsNotAnAdministratorIsToldSoAndNothingIsWritten) {
  test::ScratchFolder orvel;
  test::WriteBytes(orvel.Path() + "orvel.exe", "MZ");
  test::WriteBytes(orvel.Path() + "vexa.3bs", "vexa\x02\x05 installed");
  ASSERT_TRUE(::CreateDirectoryA((orvel.Path() + "language").c_str(), nullptr));
  test::WriteBytes(orvel.Path() + "language\\english.lng",
                   LangFileText("English", "1033", "[noright]\r\nOnly an administrator\r\nmay update.\r\n\r\n"));
  test::SetRegistryString(HKEY_CURRENT_USER, kUserKey, "TheLastRunFolder", orvel.Path());
  ProgramState& state = Program();
  state.UserLcid = 1033;
  state.SharedRegistry = std::make_unique<RegistryAccess>(KEY_ALL_ACCESS | KEY_WOW64_64KEY);
  PackageKey = "starmoths";
  PackageFileName = "vexa.3bs";
  PackageVersion = 6;

  ExitCode code;
  std::vector<test::SeenDialog> seen;
  {
    DialogRobot robot;
    code = RunUpdate(LocationsOfANonAdministrator);
    seen = robot.Seen();
  }
  DoneLanguageFiles();
  test::DeleteRegistryTree(HKEY_CURRENT_USER, kUserKey);

  EXPECT_EQ(code, ExitCode::kNoAdminRights);
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].caption, "English title");
  EXPECT_EQ(seen[0].text, "Only an administrator\r\nmay update.");
  EXPECT_EQ(seen[0].icon, test::MessageIcon::kError);
  EXPECT_EQ(test::ReadBytes(orvel.Path() + "vexa.3bs"), "vexa\x02\x05 installed");
  DWORD size = 0;
  EXPECT_FALSE(test::GetRegistryDword(HKEY_LOCAL_MACHINE, kUninstallKey, "EstimatedSize", size));
  DoneProgramState();
}

}  // namespace
}  // namespace orvel
