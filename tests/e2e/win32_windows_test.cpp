// The shipped installer on a 32-bit Windows, where it runs natively and the registry
// has one view: it finds Orvel through the one uninstall entry and records the size
// there. These tests run in a 32-bit Windows session of their own, which CTest
// starts in the 32-bit build (ORVEL_TEST_WINDOWS_BITS=32); elsewhere they are skipped.
// And a quiet update under every Windows version that Wine can report.
#include <cstdlib>
#include <string_view>

#include "update_fixture.h"

namespace orvel::e2e {
namespace {

class ThirtyTwoBitWindowsTest : public UpdateTest {
 protected:
  void SetUp() override {
    const char* bits = std::getenv("ORVEL_TEST_WINDOWS_BITS");
    if (bits == nullptr || std::string_view(bits) != "32")
      GTEST_SKIP() << "needs a 32-bit Windows session (ctest runs it in the 32-bit build)";
    // The session was asked for: a Windows that is not 32-bit is a failure, not a skip.
    SYSTEM_INFO native = {};
    ::GetNativeSystemInfo(&native);
    ASSERT_EQ(native.wProcessorArchitecture, PROCESSOR_ARCHITECTURE_INTEL) << "this Windows is not a 32-bit one";
    UpdateTest::SetUp();
  }
};

TEST_F(ThirtyTwoBitWindowsTest, QuietUpdateRecordsTheSizeInTheOneUninstallEntry) {
  const InstallerRun run = Run({"modest"});

  EXPECT_EQ(run.boxes, std::vector<Box>{});
  EXPECT_EQ(run.exit_code, kWritten);
  EXPECT_TRUE(HoldsEmbeddedPackage(Orvel()));
  EXPECT_EQ(EstimatedSize(kNativeUninstallKey), Orvel().SizeKiB());
  EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kWow64UninstallKey));
}

TEST_F(ThirtyTwoBitWindowsTest, InteractiveUpdateAsksAndStartsOrvel) {
  const InstallerRun run = Run({}, {IDYES, IDYES});

  EXPECT_EQ(run.boxes, (std::vector<Box>{InstallQuestion(), DoneQuestion()}));
  EXPECT_EQ(run.exit_code, kWritten);
  EXPECT_TRUE(HoldsEmbeddedPackage(Orvel()));
  EXPECT_EQ(EstimatedSize(kNativeUninstallKey), Orvel().SizeKiB());
  EXPECT_TRUE(WaitForStartByInstaller());
}

// Under each Windows version that Wine can report (in a 32-bit session, its own) a quiet update logs the name.
TEST_F(UpdateTest, QuietUpdateUnderEachWindowsVersionLogsItsName) {
  SYSTEM_INFO native = {};
  ::GetNativeSystemInfo(&native);
  // Wine's version (empty: the session's own) and the log's name, after "ProductName" where it starts with a blank.
  using Row = std::pair<const char*, const char*>;
  const bool windows32 = native.wProcessorArchitecture == PROCESSOR_ARCHITECTURE_INTEL;
  const std::vector<Row> rows = windows32 ? std::vector<Row>{{"", " 32-bit Service Pack 1"}} : std::vector<Row>{
      {"winxp", "Microsoft Windows XP Professional Service Pack 3"}, {"vista", " 64-bit Service Pack 2"},
      {"win7", " 64-bit Service Pack 1"}, {"win8", " 64-bit"}, {"win81", " 64-bit"}, {"win10", " 64-bit"}};
  const std::string product_name =
      test::GetRegistryString(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion", "ProductName");
  // Also where a 32-bit Orvel's setup leaves it: a 32-bit installer told XP (no bitness in its name) looks there.
  SetUninstallString(kWow64UninstallKey, Orvel().Folder() + "unins000.exe");
  for (const auto& [wine_version, log_name] : rows) {
    SCOPED_TRACE(wine_version);
    constexpr char kVersionKey[] = "Software\\Wine\\AppDefaults\\OrvelUpdate.exe";
    if (*wine_version != '\0') test::SetRegistryString(HKEY_CURRENT_USER, kVersionKey, "Version", wine_version);
    Orvel().WritePackage(PackageOfVersion(kEmbeddedVersion - 1));
    const std::string log = Outside() + wine_version + ".log";
    const InstallerRun run = Run({"modest", "/log=" + log});
    test::DeleteRegistryTree(HKEY_CURRENT_USER, kVersionKey);

    EXPECT_EQ(run.exit_code, kWritten);
    EXPECT_TRUE(HoldsEmbeddedPackage(Orvel()));
    const std::string windows = (*log_name == ' ' ? product_name : "") + log_name;
    EXPECT_NE(test::ReadBytes(log).find(" Windows: " + windows + "\r\n"), std::string::npos) << test::ReadBytes(log);
  }
}

}  // namespace
}  // namespace orvel::e2e
