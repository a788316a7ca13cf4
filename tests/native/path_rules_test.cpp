// Folder rules: trailing backslashes, the folder of "UninstallString", the 32-bit
// registry view's key path, staging names and the folder lock's name.
#include "install/staging_name.h"
#include "sys/folder_lock_name.h"
#include "sys/path_rules.h"

#include <gtest/gtest.h>

namespace orvel {
namespace {

TEST(EnsureTrailingBackslashTest, AppendsOnlyWhenMissing) {
  struct Case {
    const char* in;
    const char* out;
  } cases[] = {{"", ""}, {"C:\\Orvel", "C:\\Orvel\\"}, {"C:\\Orvel\\", "C:\\Orvel\\"},
               {"Orvel", "Orvel\\"}, {"\\", "\\"}};
  for (const Case& c : cases) {
    std::string path = c.in;
    EnsureTrailingBackslash(path);
    EXPECT_EQ(path, c.out) << c.in;
  }
}

TEST(UninstallStringFolderTest, KeepsTextUpToTheLastBackslash) {
  struct Case {
    const char* uninstall;
    const char* folder;
  } cases[] = {
      {"C:\\Program Files\\Orvel\\unins.exe", "C:\\Program Files\\Orvel\\"},
      // A trailing backslash is not examined.
      {"C:\\A\\B\\", "C:\\A\\"},
      // Quoted: only the text between the quotes counts, arguments are dropped.
      {"\"C:\\Program Files\\Orvel\\unins000.exe\" /SILENT", "C:\\Program Files\\Orvel\\"},
      {"\"C:\\Program Files\\Orvel\\unins000.exe\"", "C:\\Program Files\\Orvel\\"},
      {"\"C:\\Orvel\\un\\ins.exe", "C:\\Orvel\\un\\"},  // no closing quote: the rest
      // No folder to be had: the caller keeps its default.
      {"", ""},
      {"unins.exe", ""},
      {"\\", ""},
      {"\"\"", ""},
      {"\"unins.exe\" C:\\x\\y", ""},
      {"a\\", ""},
      {"\\a", "\\"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(UninstallStringFolder(c.uninstall), c.folder) << c.uninstall;
  }
}

TEST(Wow64KeyPathTest, InsertsAfterTheFirstBackslash) {
  EXPECT_EQ(Wow64KeyPath("Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\"),
            "Software\\WOW6432Node\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\");
  EXPECT_EQ(Wow64KeyPath("Software"), "Software");
}

TEST(IsFullFolderPathTest, OnlyLocalDrivesAndNetworkShares) {
  struct Case {
    const char* path;
    bool full;
  } cases[] = {
      {"C:\\Orvel\\", true},      {"z:\\", true},
      {"\\\\srv\\share\\Orvel", true}, {"\\\\srv\\share", true},
      {"", false},                  {"Orvel\\", false},
      {".\\Orvel", false},           {"C:Orvel", false},
      {"C:", false},                {"\\Orvel\\", false},
      {"1:\\Orvel", false},          {"\\\\srv", false},
      {"\\\\srv\\", false},          {"\\\\\\share", false},
      {"\\\\.\\C:\\Orvel", false},     {"\\\\?\\C:\\Orvel", false},
  };
  for (const Case& c : cases) EXPECT_EQ(IsFullFolderPath(c.path), c.full) << c.path;
}

TEST(StagingFileNameTest, TildeBeforeTheFileNamePart) {
  struct Case {
    const char* in;
    const char* out;
  } cases[] = {
      {"C:\\Games\\Host\\vexa.3bs", "C:\\Games\\Host\\~vexa.3bs"},
      {"vexa.3bs", "~vexa.3bs"},
      {"C:\\Games\\", "C:\\~Games\\"},
      {"\\vexa.3bs", "\\~vexa.3bs"},
      {"", "~"},
      {"\\", "~\\"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(StagingFileName(c.in), c.out) << c.in;
  }
}

TEST(StagingFileNameTest, FreshNamesAreTheStagingNameAndEightLetters) {
  for (const char* fresh : {"~vexa.3bs.abcdefgh", "~VEXA.3bs.AbCdEfGz"})
    EXPECT_TRUE(IsFreshStagingName(fresh, "~vexa.3bs")) << fresh;
  for (const char* other : {"~vexa.3bs", "~vexa.3bs.abcdefg", "~vexa.3bs.abcdefghi", "~vexa.3bs.abcd3fgh",
                            "~vexa.3bs-abcdefgh", "~vexa.3bx.abcdefgh", "vexa.3bs.abcdefgh"})
    EXPECT_FALSE(IsFreshStagingName(other, "~vexa.3bs")) << other;
}

TEST(FolderLockNameTest, OnlyTheLockItselfWhateverItsLetterCase) {
  for (const wchar_t* lock : {L"~orvelupdate.lock", L"~OrvelUpdate.LOCK"}) EXPECT_TRUE(IsFolderLockName(lock));
  for (const wchar_t* other : {L"~orvelupdate.loc", L"~orvelupdate.locks", L"orvelupdate.lock", L"~vexa.3bs.lock", L""})
    EXPECT_FALSE(IsFolderLockName(other));
}

}  // namespace
}  // namespace orvel
