// Where Orvel is: the default host folder from its uninstall entry in either registry
// view, the registry paths, the shell folders, and the registry errors that end the
// run. Runs against the test prefix's real registry; every key a test sets is removed.
#include "sys/install_locations.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "base/builtin_texts.h"
#include "base/program_state.h"
#include "base/registry_access_win.h"
#include "base/scoped_handle_win.h"
#include "robot/dialog_robot.h"
#include "scratch.h"

namespace orvel {
namespace {

using test::DeleteRegistryTree;
using test::DialogRobot;
using test::SetRegistryDword;
using test::SetRegistryString;

const std::string kNativeKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Orvel";
const std::string kWow64Key = "Software\\WOW6432Node\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Orvel";
const std::string kUserShellFolders = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

std::string ProgramFilesDir() {
  RegistryAccess registry(KEY_READ | KEY_WOW64_64KEY);
  registry.SetRootKey(HKEY_LOCAL_MACHINE);
  static_cast<void>(registry.OpenKey("Software\\Microsoft\\Windows\\CurrentVersion", KeyOpening::kExisting));
  std::string folder;
  static_cast<void>(registry.ReadString("ProgramFilesDir", folder));
  return folder;
}

class InstallLocationsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    DeleteRegistryTree(HKEY_LOCAL_MACHINE, kNativeKey);
    DeleteRegistryTree(HKEY_LOCAL_MACHINE, kWow64Key);
    ProgramState& state = Program();
    state = ProgramState();
    state.HostAppName = "Orvel";
    state.UpdateTitle = "RU-TITLE";
    state.UpdateTitleEn = "Orvel update";
    state.SharedRegistry = std::make_unique<RegistryAccess>(RegistryAccessMask(true));
  }
  void TearDown() override {
    DeleteRegistryTree(HKEY_LOCAL_MACHINE, kNativeKey);
    DeleteRegistryTree(HKEY_LOCAL_MACHINE, kWow64Key);
    Program() = ProgramState();
  }
};

TEST_F(InstallLocationsTest, NoUninstallEntryGivesProgramFilesPlusOrvel) {
  ASSERT_TRUE(FindInstallLocations());
  const ProgramState& state = Program();
  EXPECT_EQ(state.HostFolder, ProgramFilesDir() + "\\Orvel\\");
  EXPECT_EQ(state.UninstallKeyPath, "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\");
  EXPECT_EQ(state.UserKeyPath, "Software\\Veltro\\Orvel\\");
  EXPECT_TRUE(Locations().Wow64UninstallKeyPath.empty());
  EXPECT_EQ(state.SystemFolder.back(), '\\');
  EXPECT_EQ(state.WindowsFolder.back(), '\\');
  EXPECT_FALSE(state.SharedRegistry->HasOpenKey());
}

TEST_F(InstallLocationsTest, UninstallStringChoosesTheHostFolder) {
  struct Case {
    const char* uninstall;
    const char* folder;  // nullptr: the Program Files default stays
  } cases[] = {
      {"C:\\Program Files\\Orvel\\unins.exe", "C:\\Program Files\\Orvel\\"},
      {"C:\\A\\B\\", "C:\\A\\"},
      {"\"D:\\Games\\Orvel\\unins000.exe\" /SILENT", "D:\\Games\\Orvel\\"},
      {"", nullptr},
      {"unins.exe", nullptr},
      {"Orvel\\unins.exe", nullptr},  // a relative folder counts as none
  };
  for (const Case& c : cases) {
    SetRegistryString(HKEY_LOCAL_MACHINE, kNativeKey, "UninstallString", c.uninstall);
    ASSERT_TRUE(FindInstallLocations()) << c.uninstall;
    EXPECT_EQ(Program().HostFolder, c.folder ? std::string(c.folder) : ProgramFilesDir() + "\\Orvel\\")
        << c.uninstall;
    EXPECT_TRUE(Locations().Wow64UninstallKeyPath.empty());
  }
}

TEST_F(InstallLocationsTest, EntryOnlyInThe32BitViewIsFoundAndRemembered) {
  SetRegistryString(HKEY_LOCAL_MACHINE, kWow64Key, "UninstallString", "C:\\Orvel32\\unins.exe");
  ASSERT_TRUE(FindInstallLocations());
  EXPECT_EQ(Program().HostFolder, "C:\\Orvel32\\");
  EXPECT_EQ(Locations().Wow64UninstallKeyPath, kWow64Key);
}

TEST_F(InstallLocationsTest, NativeEntryWinsOverThe32BitOne) {
  SetRegistryString(HKEY_LOCAL_MACHINE, kNativeKey, "UninstallString", "C:\\Orvel64\\unins.exe");
  SetRegistryString(HKEY_LOCAL_MACHINE, kWow64Key, "UninstallString", "C:\\Orvel32\\unins.exe");
  ASSERT_TRUE(FindInstallLocations());
  EXPECT_EQ(Program().HostFolder, "C:\\Orvel64\\");
  EXPECT_TRUE(Locations().Wow64UninstallKeyPath.empty());
}

TEST_F(InstallLocationsTest, GroupFoldersCarryTheTitleOfTheUserInterfaceLanguage) {
  for (bool russian : {false, true}) {
    Program().RussianUi = russian;
    ASSERT_TRUE(FindInstallLocations());
    const std::string& common = Program().CommonProgramsFolder;
    ASSERT_GE(common.size(), 2u);
    EXPECT_EQ(Program().ProgramsGroupFolder, common + (russian ? "RU-TITLE\\" : "Orvel update\\"));
    EXPECT_EQ(Locations().ProgramsGroupFolderAlt, common + (russian ? "Orvel update\\" : "RU-TITLE\\"));
    EXPECT_EQ(Locations().UserProgramsGroupFolderRu, Program().UserProgramsFolder + "RU-TITLE\\");
    EXPECT_EQ(Locations().UserProgramsGroupFolderEn, Program().UserProgramsFolder + "Orvel update\\");
  }
}

// Wine gives every process an elevated administrator's token. With the Administrators
// group turned into a group for denying only, as in an administrator's unelevated
// token, the user counts as no administrator: the check asks the token in effect.
TEST_F(InstallLocationsTest, AnAdministratorCountsOnlyWithTheGroupEnabled) {
  ASSERT_TRUE(FindInstallLocations());
  EXPECT_TRUE(Program().UserIsAdmin);

  HANDLE opened = nullptr;
  ASSERT_TRUE(::OpenProcessToken(::GetCurrentProcess(), TOKEN_ALL_ACCESS, &opened));
  ScopedKernelHandle own(opened);
  BYTE administrators[SECURITY_MAX_SID_SIZE];
  DWORD size = sizeof administrators;
  ASSERT_TRUE(::CreateWellKnownSid(WinBuiltinAdministratorsSid, nullptr, administrators, &size));
  SID_AND_ATTRIBUTES deny_only = {administrators, 0};
  HANDLE restricted = nullptr;
  ASSERT_TRUE(::CreateRestrictedToken(own.Get(), 0, 1, &deny_only, 0, nullptr, 0, nullptr, &restricted));
  ScopedKernelHandle primary(restricted);
  HANDLE duplicated = nullptr;
  ASSERT_TRUE(::DuplicateToken(primary.Get(), SecurityImpersonation, &duplicated));
  ScopedKernelHandle impersonation(duplicated);
  ASSERT_TRUE(::SetThreadToken(nullptr, impersonation.Get()));
  const bool found = FindInstallLocations();
  ::RevertToSelf();
  ASSERT_TRUE(found);
  EXPECT_FALSE(Program().UserIsAdmin);
}

TEST_F(InstallLocationsTest, TempFolderFollowsTheEnvironment) {
  const char* saved = std::getenv("Temp");
  const std::string temp = saved ? saved : "";
  ::SetEnvironmentVariableA("Temp", "C:\\SomeTemp");
  _putenv("Temp=C:\\SomeTemp");
  ASSERT_TRUE(FindInstallLocations());
  EXPECT_EQ(Program().TempFolder, "C:\\SomeTemp\\");
  ::SetEnvironmentVariableA("Temp", nullptr);
  _putenv("Temp=");
  ASSERT_TRUE(FindInstallLocations());
  EXPECT_EQ(Program().TempFolder, "");  // no lone backslash
  ::SetEnvironmentVariableA("Temp", temp.c_str());
  _putenv(("Temp=" + temp).c_str());
}

// A registry value of the wrong type is a registry error: one built-in message, and
// the run stops.
struct RegistryErrorCase {
  const char* name;
  HKEY root;
  const char* key;
  const char* value;
};
void PrintTo(const RegistryErrorCase& c, std::ostream* out) { *out << c.name; }

class InstallLocationsErrorTest : public InstallLocationsTest,
                                  public ::testing::WithParamInterface<RegistryErrorCase> {};

TEST_P(InstallLocationsErrorTest, ShowsNoAccessToSystemRegistry) {
  const RegistryErrorCase& c = GetParam();
  // Keep what the prefix had, to put it back.
  RegistryAccess saved_reader(KEY_ALL_ACCESS | KEY_WOW64_64KEY);
  saved_reader.SetRootKey(c.root);
  static_cast<void>(saved_reader.OpenKey(c.key, KeyOpening::kExisting));
  const bool had_value = saved_reader.ValueExists(c.value);
  std::string saved;
  static_cast<void>(saved_reader.ReadString(c.value, saved));
  saved_reader.CloseKey();

  SetRegistryDword(c.root, c.key, c.value, 1);
  Program().HostFolder = "before\\";
  bool result;
  DWORD error;
  std::vector<test::SeenDialog> seen;
  {
    DialogRobot robot;
    result = FindInstallLocations();
    error = ::GetLastError();
    seen = robot.Seen();
  }
  if (had_value) SetRegistryString(c.root, c.key, c.value, saved);
  else {
    HKEY key;
    if (::RegOpenKeyExA(c.root, c.key, 0, KEY_ALL_ACCESS | KEY_WOW64_64KEY, &key) == ERROR_SUCCESS) {
      ::RegDeleteValueA(key, c.value);
      ::RegCloseKey(key);
    }
  }

  EXPECT_FALSE(result);
  EXPECT_EQ(error, static_cast<DWORD>(ERROR_UNSUPPORTED_TYPE));  // the failing read's code
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].caption, "Orvel update");
  EXPECT_EQ(seen[0].text, kRegistryErrorEn);
  EXPECT_FALSE(Program().SharedRegistry->HasOpenKey());
  if (c.root == HKEY_CURRENT_USER) {
    // The per-user folders are read before Orvel's entry: nothing after them is set.
    EXPECT_TRUE(Program().UninstallKeyPath.empty());
    EXPECT_EQ(Program().HostFolder, "before\\");
  }
}

INSTANTIATE_TEST_SUITE_P(
    WrongTypes, InstallLocationsErrorTest,
    ::testing::Values(
        RegistryErrorCase{"UserPrograms", HKEY_CURRENT_USER, kUserShellFolders.c_str(), "Programs"},
        RegistryErrorCase{"UserDesktop", HKEY_CURRENT_USER, kUserShellFolders.c_str(), "Desktop"},
        RegistryErrorCase{"UserStartup", HKEY_CURRENT_USER, kUserShellFolders.c_str(), "Startup"},
        RegistryErrorCase{"ProgramFilesDir", HKEY_LOCAL_MACHINE,
                          "Software\\Microsoft\\Windows\\CurrentVersion", "ProgramFilesDir"},
        RegistryErrorCase{"UninstallString", HKEY_LOCAL_MACHINE, kNativeKey.c_str(), "UninstallString"},
        RegistryErrorCase{"Wow64UninstallString", HKEY_LOCAL_MACHINE, kWow64Key.c_str(), "UninstallString"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace orvel
