// An update while Orvel runs: it is asked to quit, and the installer waits for it to
// let go of the package file (17 attempts, 256 ms apart), in both modes.
#include "update_fixture.h"

#include <thread>

namespace orvel::e2e {
namespace {

// The open attempts take at least 17 x 256 ms; Wine adds to that, never takes off.
constexpr double kMinimumWaitSeconds = 4.0;

TEST_F(UpdateTest, OrvelThatQuitsAndLetsGoIsUpdated) {
  // It keeps the package open for a second after WM_QUIT, like an Orvel that is
  // still saving its state.
  auto host = StartHost({"--hold-package", "--release-delay", "1000"});

  const InstallerRun run = Run({}, {IDYES, IDNO});

  EXPECT_EQ(run.boxes, (std::vector<Box>{InstallQuestion(), DoneQuestion()}));
  EXPECT_EQ(run.exit_code, kWritten);
  EXPECT_TRUE(HoldsEmbeddedPackage(Orvel()));
  EXPECT_EQ(EstimatedSize(kNativeUninstallKey), Orvel().SizeKiB());
  EXPECT_TRUE(host->WaitForExit(5000));
  EXPECT_EQ(EventsNamed(HostLog(), "wm_quit"), (std::vector<LogEvent>{{"wm_quit", "0", "0"}}));
}

TEST_F(UpdateTest, PackageHeldOpenForGoodEndsTheRunAfterTheLastAttempt) {
  const std::string installed = Orvel().PackageBytes();
  auto host = StartHost({"--hold-package", "--ignore-quit"});

  const InstallerRun run = Run({}, {IDYES, IDYES});

  EXPECT_EQ(run.boxes, std::vector<Box>{LanguageError(LanguageText("filecantopen", {Orvel().PackagePath()}))});
  EXPECT_EQ(run.exit_code, kPackageLocked);
  EXPECT_GE(run.seconds, kMinimumWaitSeconds);
  host.reset();  // it holds the package without sharing: let go, so the test can read it
  EXPECT_TRUE(StillHolds(Orvel(), installed));
  EXPECT_FALSE(EstimatedSize(kNativeUninstallKey).has_value());
  EXPECT_EQ(EventsNamed(HostLog(), "wm_quit").size(), 1u);
}

TEST_F(UpdateTest, QuietUpdateWaitsForOrvelToLetGo) {
  // The usual quiet update: Orvel starts it and quits, taking a while to close; here after
  // another copy (the test, holding the lock file) let go of Orvel's folder.
  auto host = StartHost({"--hold-package", "--release-delay", "1500"});
  HANDLE lock = ::CreateFileA((Orvel().Folder() + "~orvelupdate.lock").c_str(), DELETE, 0, nullptr, CREATE_NEW,
                              FILE_FLAG_DELETE_ON_CLOSE, nullptr);
  ASSERT_NE(lock, INVALID_HANDLE_VALUE);
  const std::string log = Outside() + "waiting.log";
  std::size_t quits = 1;  // Orvel asked to quit while this copy waited (it must wait)
  std::thread other_copy([&] {
    for (int i = 0; i < 200 && quits != 0; ++i, ::Sleep(50))
      if (test::ReadBytes(log).find("waiting for it") != std::string::npos) quits = EventsNamed(HostLog(), "wm_quit").size();
    ::CloseHandle(lock);
  });

  const InstallerRun run = Run({"modest", "\"/log=" + log + "\""});

  other_copy.join();
  EXPECT_EQ(quits, 0u);
  EXPECT_EQ(run.boxes, std::vector<Box>{});
  EXPECT_EQ(run.exit_code, kWritten);
  EXPECT_TRUE(HoldsEmbeddedPackage(Orvel()));
  EXPECT_EQ(EstimatedSize(kNativeUninstallKey), Orvel().SizeKiB());
  EXPECT_TRUE(host->WaitForExit(5000));
  EXPECT_EQ(EventsNamed(HostLog(), "wm_quit").size(), 1u);
}

TEST_F(UpdateTest, QuietUpdateOfAPackageLockedForGoodFailsAndLeavesItAsItWas) {
  const std::string installed = Orvel().PackageBytes();
  auto host = StartHost({"--hold-package", "--ignore-quit"});

  const InstallerRun run = Run({"modest", "runapp"});

  EXPECT_EQ(run.boxes, std::vector<Box>{Error(kEnglishTitle, kCantInstallEnglish + Orvel().PackagePath())});
  EXPECT_EQ(run.exit_code, kPackageLocked);
  EXPECT_GE(run.seconds, kMinimumWaitSeconds);
  host.reset();  // it holds the package without sharing: let go, so the test can read it
  EXPECT_TRUE(StillHolds(Orvel(), installed));
  // A failed write still records the size of what is there.
  EXPECT_EQ(EstimatedSize(kNativeUninstallKey), Orvel().SizeKiB());
  // The installed package is intact, so the Orvel that was asked to close for the
  // update is started again as asked.
  EXPECT_TRUE(WaitForStartByInstaller());
}

}  // namespace
}  // namespace orvel::e2e
