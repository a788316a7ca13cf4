// Writing an embedded resource over an installed file: the new bytes replace the
// file in one step, and any failure leaves the installed file as it was.
#include "install/package_extract.h"

#include <gtest/gtest.h>

#include "base/builtin_texts.h"
#include "base/program_state.h"
#include "base/scoped_handle_win.h"
#include "install/staging_name.h"
#include "robot/dialog_robot.h"
#include "scratch.h"

namespace orvel {
namespace {

using test::DialogRobot;
using test::Exists;
using test::ReadBytes;
using test::ScratchFolder;
using test::WriteBytes;

constexpr char kNewBytes[] = "new package bytes\n";
constexpr char kOldBytes[] = "old package";

class PackageWriteTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Program().RussianUi = false;
    Program().UpdateTitleEn = "Orvel update";
    target_ = scratch_.Path() + "vexa.dat";
    staging_ = scratch_.Path() + "~vexa.dat";
  }
  ScratchFolder scratch_;
  std::string target_;
  std::string staging_;
};

TEST_F(PackageWriteTest, ReplacesTheTargetWithExactlyTheResourceBytes) {
  WriteBytes(target_, kOldBytes);
  DialogRobot robot;
  EXPECT_TRUE(InstallPackageFile("writetest", "dat", target_, kDirectMode));
  EXPECT_EQ(ReadBytes(target_), kNewBytes);
  EXPECT_FALSE(Exists(staging_));
  EXPECT_TRUE(robot.Seen().empty());
}

TEST_F(PackageWriteTest, WritesAMissingTargetAndClearsAStaleStagingFile) {
  WriteBytes(staging_, "left over by an interrupted run");
  ::SetFileAttributesA(staging_.c_str(), FILE_ATTRIBUTE_READONLY);
  EXPECT_TRUE(InstallPackageFile("WRITETEST", "DAT", target_, kDirectMode));
  EXPECT_EQ(ReadBytes(target_), kNewBytes);
  EXPECT_FALSE(Exists(staging_));
}

// Each failure shows "Can't install file " + the target once, keeps the old bytes,
// and leaves the failing call's code as the last error.
struct FailureCase {
  const char* name;
  const char* resource;
  bool read_only_target;
  bool locked_target;
  bool missing_folder;
  DWORD error;
};
void PrintTo(const FailureCase& c, std::ostream* out) { *out << c.name; }

class PackageWriteFailureTest : public PackageWriteTest,
                                public ::testing::WithParamInterface<FailureCase> {};

TEST_P(PackageWriteFailureTest, ShowsOneMessageAndKeepsTheInstalledFile) {
  const FailureCase& c = GetParam();
  if (c.missing_folder) target_ = scratch_.Path() + "gone\\vexa.dat";
  else WriteBytes(target_, kOldBytes);
  if (c.read_only_target) ::SetFileAttributesA(target_.c_str(), FILE_ATTRIBUTE_READONLY);
  ScopedFileHandle lock;
  if (c.locked_target)
    lock.Reset(::CreateFileA(target_.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));

  DialogRobot robot;
  const bool written = InstallPackageFile(c.resource, "dat", target_, kDirectMode);
  const DWORD error = ::GetLastError();
  EXPECT_FALSE(written);
  EXPECT_EQ(error, c.error);
  const auto seen = robot.Seen();
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].caption, "Orvel update");
  EXPECT_EQ(seen[0].text, std::string(kCantInstallFileEn) + target_);

  lock.Reset();
  ::SetFileAttributesA(target_.c_str(), FILE_ATTRIBUTE_NORMAL);
  if (c.missing_folder) {
    EXPECT_FALSE(Exists(target_));
  } else {
    EXPECT_EQ(ReadBytes(target_), kOldBytes);
  }
  EXPECT_FALSE(Exists(StagingFileName(target_)));
}

INSTANTIATE_TEST_SUITE_P(
    Failures, PackageWriteFailureTest,
    ::testing::Values(FailureCase{"ReadOnlyTarget", "writetest", true, false, false, ERROR_ACCESS_DENIED},
                      FailureCase{"TargetOpenInAnotherProgram", "writetest", false, true, false,
                                  ERROR_ACCESS_DENIED},
                      FailureCase{"MissingResource", "nosuchthing", false, false, false,
                                  ERROR_RESOURCE_NAME_NOT_FOUND},
                      FailureCase{"MissingFolder", "writetest", false, false, true, ERROR_PATH_NOT_FOUND}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(PackageWriteTest, RussianUserGetsTheRussianMessage) {
  Program().RussianUi = true;
  Program().UpdateTitle = "Title";
  WriteBytes(target_, kOldBytes);
  ::SetFileAttributesA(target_.c_str(), FILE_ATTRIBUTE_READONLY);
  DialogRobot robot;
  EXPECT_FALSE(InstallPackageFile("writetest", "dat", target_, kDirectMode));
  ::SetFileAttributesA(target_.c_str(), FILE_ATTRIBUTE_NORMAL);
  const auto seen = robot.Seen();
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].caption, "Title");
  // The Windows-1251 bytes go to the ANSI call unchanged, so the box shows them in
  // this process's code page.
  EXPECT_EQ(seen[0].text, test::Utf8FromCodePage(std::string(kCantInstallFileRu) + target_, CP_ACP));
  Program().RussianUi = false;
}

}  // namespace
}  // namespace orvel
