// The shipped installer on a 32-bit Windows, where it runs natively and the registry
// has one view: it finds Orvel through the one uninstall entry and records the size
// there. These tests run in a 32-bit Windows session of their own, which CTest
// starts in the 32-bit build (ORVEL_TEST_WINDOWS_BITS=32); elsewhere they are skipped.
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

}  // namespace
}  // namespace orvel::e2e
