// The shipped installer on a 32-bit Windows, where it runs natively and the registry
// has one view: it finds Orvel through the one uninstall entry and records the size
// there. These tests run in a 32-bit Windows session of their own, which CTest
// starts in the 32-bit build (ORVEL_TEST_WINDOWS_BITS=32); elsewhere they are skipped.
// And a quiet update under every Windows version that Wine can report.
#include <cstdlib>
#include <string_view>

#include "scratch.h"
#include "update_fixture.h"

namespace orvel::e2e {
namespace {

bool In32BitWindows() {
  const char* bits = std::getenv("ORVEL_TEST_WINDOWS_BITS");
  return bits != nullptr && std::string_view(bits) == "32";
}

class ThirtyTwoBitWindowsTest : public UpdateTest {
 protected:
  void SetUp() override {
    if (!In32BitWindows())
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

// Each Windows version that Wine can report to the installer (in the 32-bit Windows
// session, the one it has): the quiet update writes the package, and the log names
// the Windows as the installer describes it.
TEST_F(UpdateTest, QuietUpdateUnderEachWindowsVersionLogsItsName) {
  struct Row {
    const char* wine_version;  // empty: the session's own
    const char* windows;       // the log's name; with "%", "ProductName" takes its place
  };
  const std::vector<Row> rows =
      In32BitWindows() ? std::vector<Row>{{"", "% 32-bit Service Pack 1"}}
                       : std::vector<Row>{{"winxp", "Microsoft Windows XP Professional Service Pack 3"},
                                          {"vista", "% 64-bit Service Pack 2"}, {"win7", "% 64-bit Service Pack 1"},
                                          {"win8", "% 64-bit"}, {"win81", "% 64-bit"}, {"win10", "% 64-bit"}};
  const std::string product_name =
      test::GetRegistryString(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion", "ProductName");
  // Where a 32-bit Orvel's setup leaves it on 64-bit Windows too: a 32-bit installer
  // told it runs on XP, whose name tells no bitness, looks there.
  SetUninstallString(kWow64UninstallKey, Orvel().Folder() + "unins000.exe");
  for (const Row& row : rows) {
    SCOPED_TRACE(row.wine_version);
    constexpr char kVersionKey[] = "Software\\Wine\\AppDefaults\\OrvelUpdate.exe";
    if (*row.wine_version != '\0') test::SetRegistryString(HKEY_CURRENT_USER, kVersionKey, "Version", row.wine_version);
    Orvel().WritePackage(PackageOfVersion(kEmbeddedVersion - 1));
    const std::string log = Outside() + row.wine_version + ".log";
    const InstallerRun run = Run({"modest", "/log=" + log});
    test::DeleteRegistryTree(HKEY_CURRENT_USER, kVersionKey);

    EXPECT_EQ(run.exit_code, kWritten);
    EXPECT_TRUE(HoldsEmbeddedPackage(Orvel()));
    std::string windows = row.windows;
    if (const std::size_t at = windows.find('%'); at != std::string::npos) windows.replace(at, 1, product_name);
    EXPECT_NE(test::ReadBytes(log).find(" Windows: " + windows + "\r\n"), std::string::npos) << test::ReadBytes(log);
  }
}

}  // namespace
}  // namespace orvel::e2e
