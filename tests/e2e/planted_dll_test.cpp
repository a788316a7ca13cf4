// DLLs planted beside the installer (a Downloads folder, say) under the names of the
// system DLLs that Windows' own libraries load by name once a box is shown or Orvel
// is started. Each copy leaves a mark when it is loaded. Wine prefers its own DLLs;
// "native,builtin" for the installer gives the one beside it the precedence it has
// on Windows.
#include <string>

#include "scratch.h"
#include "update_fixture.h"

namespace orvel::e2e {
namespace {

constexpr const char* kPlantedNames[] = {"msimg32", "uxtheme", "dwmapi", "ole32", "oleaut32", "rpcrt4", "combase",
                                         "imm32", "comctl32", "shell32", "shlwapi", "version", "bcrypt", "cryptbase"};

TEST_F(UpdateTest, NoDllIsLoadedFromBesideTheInstaller) {
  const std::string folder = Scratch() + "downloads\\";
  ASSERT_TRUE(::CreateDirectoryA(folder.c_str(), nullptr));
  const std::string installer = folder + "OrvelUpdate.exe";
  ASSERT_TRUE(::CopyFileA(InstallerPath().c_str(), installer.c_str(), FALSE));
  constexpr char kOverrides[] = "Software\\Wine\\AppDefaults\\OrvelUpdate.exe\\DllOverrides";
  for (const char* name : kPlantedNames) {
    ASSERT_TRUE(::CopyFileA(BuildFile(ORVEL_E2E_MARK_DLL).c_str(), (folder + name + ".dll").c_str(), FALSE));
    test::SetRegistryString(HKEY_CURRENT_USER, kOverrides, name, "native,builtin");
  }
  const InstallerRun quiet = RunCopy(installer, {"modest", "runapp"});
  const InstallerRun asked = RunCopy(installer, {}, {IDYES, IDYES});
  test::DeleteRegistryTree(HKEY_CURRENT_USER, "Software\\Wine\\AppDefaults\\OrvelUpdate.exe");

  EXPECT_EQ(quiet.exit_code, kWritten);
  EXPECT_EQ(asked.exit_code, kWritten);
  EXPECT_EQ(asked.boxes, (std::vector<Box>{InstallQuestion(), DoneQuestion()}));
  for (const char* name : kPlantedNames) EXPECT_FALSE(test::Exists(folder + name + ".dll.loaded")) << name;
}

}  // namespace
}  // namespace orvel::e2e
