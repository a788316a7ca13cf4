// Writing the package: a write that fails (a locked package, a full disk) leaves the
// installed package as it was and nothing beside it, says so, and the run still
// records the size and offers to start Orvel but announces no success; a staging file left by an interrupted run does not get in the way, and
// links planted at the staging or the package name are replaced, never followed; a
// registry error after a good write is reported and the run still ends as usual; a
// missing Orvel or unusable language files stop the run before anything is written.
//
// (A read-only package cannot stand for a failed write here: Wine's MoveFileEx
// replaces read-only files, which Windows refuses.)
#include "update_fixture.h"

#include <sddl.h>

#include <cstdlib>
#include <random>

#include "scratch.h"

namespace orvel::e2e {
namespace {

std::uint64_t FreeBytes(const std::string& drive) {
  ULARGE_INTEGER available = {};
  EXPECT_TRUE(::GetDiskFreeSpaceExA(drive.c_str(), &available, nullptr, nullptr)) << drive;
  return available.QuadPart;
}

// The user starts Orvel again while the install question is open: the package is
// locked when the installer comes to write it.
TEST_F(UpdateTest, PackageLockedAfterTheQuestionIsNotReplaced) {
  const std::string installed = Orvel().PackageBytes();
  std::unique_ptr<RunningHost> host;
  auto start_orvel_at_first_box = [&](const test::SeenDialog&) {
    if (!host) host = StartHost({"--hold-package", "--ignore-quit"});
  };

  const InstallerRun run = Run({}, {IDYES, IDOK, IDYES}, start_orvel_at_first_box);
  ASSERT_TRUE(host);
  EXPECT_EQ(EventsNamed(HostLog(), "holding").size(), 1u);
  host.reset();  // it holds the package without sharing: let go, so the test can read it

  // The failure is said once, not followed by "installed successfully", but by the offer to start Orvel, which a Yes
  // takes up.
  EXPECT_EQ(run.boxes, (std::vector<Box>{InstallQuestion(),
                                         Error(kEnglishTitle, kCantInstallEnglish + Orvel().PackagePath()),
                                         Question(LanguageText("liveupdatecaption"), LanguageText("asktorun"))}));
  EXPECT_EQ(run.exit_code, kNotWritten);
  EXPECT_TRUE(StillHolds(Orvel(), installed));
  EXPECT_EQ(EstimatedSize(kNativeUninstallKey), Orvel().SizeKiB());
  EXPECT_TRUE(WaitForStartByInstaller());
}

TEST_F(UpdateTest, StagingFileOfAnInterruptedRunIsReplaced) {
  test::WriteBytes(Orvel().StagingPath(), "half a package");
  ::SetFileAttributesA(Orvel().StagingPath().c_str(), FILE_ATTRIBUTE_READONLY);

  const InstallerRun run = Run({"modest"});

  EXPECT_EQ(run.boxes, std::vector<Box>{});
  EXPECT_EQ(run.exit_code, kWritten);
  EXPECT_TRUE(HoldsEmbeddedPackage(Orvel()));
  EXPECT_EQ(EstimatedSize(kNativeUninstallKey), Orvel().SizeKiB());
}

// Quiet copies started together (say, by a double click) take turns: each ends as a lone copy would.
TEST_F(UpdateTest, QuietCopiesStartedTogetherAllWriteThePackage) {
  const std::uint64_t seed = SeriesSeed("ORVEL_COPIES_SEED");
  std::printf("copies seed %llu (ORVEL_COPIES_SEED=it repeats the delays)\n", static_cast<unsigned long long>(seed));
  std::mt19937_64 random(seed);
  const std::vector<std::string> entries = FolderEntries(Orvel().Folder());
  test::DialogRobot robot(0);  // no copy may show a box
  std::string command_line = "\"" + InstallerPath() + "\" modest";
  STARTUPINFOA startup = {sizeof startup};
  for (int round = 0; round < 4; ++round) {
    Orvel().WritePackage(PackageOfVersion(kEmbeddedVersion - 1));
    std::vector<PROCESS_INFORMATION> copies(6);
    for (PROCESS_INFORMATION& copy : copies)
      ASSERT_TRUE(::CreateProcessA(InstallerPath().c_str(), command_line.data(), nullptr, nullptr, FALSE,
                                   CREATE_SUSPENDED, nullptr, Outside().c_str(), &startup, &copy));
    for (PROCESS_INFORMATION& copy : copies) {
      ::Sleep(std::uniform_int_distribution<DWORD>(0, 5)(random));
      ::ResumeThread(copy.hThread);
    }
    for (PROCESS_INFORMATION& copy : copies) {
      DWORD exit_code = 255;
      if (::WaitForSingleObject(copy.hProcess, 60000) != WAIT_OBJECT_0) ::TerminateProcess(copy.hProcess, 255);
      ::GetExitCodeProcess(copy.hProcess, &exit_code);
      EXPECT_EQ(exit_code, static_cast<DWORD>(kWritten)) << "round " << round;
      ::CloseHandle(copy.hThread);
      ::CloseHandle(copy.hProcess);
    }
    EXPECT_TRUE(HoldsEmbeddedPackage(Orvel())) << "round " << round;
    EXPECT_EQ(FolderEntries(Orvel().Folder()), entries) << "round " << round;
  }
  EXPECT_EQ(robot.Seen().size(), 0u);
}

// Links planted in Orvel's folder at the staging name and at the package's name,
// pointing at files outside it: the update replaces them and writes the package, and
// never writes, moves or deletes what they point to.
TEST_F(UpdateTest, LinksAtTheStagingAndPackageNamesAreReplacedNotFollowed) {
  const std::string staging_target = Outside() + "staging_target.txt";
  const std::string package_target = Outside() + "package_target.txt";
  test::WriteBytes(staging_target, "somebody's file");
  test::WriteBytes(package_target, "somebody else's file");
  Orvel().RemovePackage();
  ASSERT_TRUE(test::MakeUnixLink(Orvel().StagingPath(), staging_target));
  ASSERT_TRUE(test::MakeUnixLink(Orvel().PackagePath(), package_target));

  const InstallerRun run = Run({"modest"});

  EXPECT_EQ(run.boxes, std::vector<Box>{});
  EXPECT_EQ(run.exit_code, kWritten);
  EXPECT_TRUE(HoldsEmbeddedPackage(Orvel()));
  EXPECT_EQ(test::ReadBytes(staging_target), "somebody's file");
  EXPECT_EQ(test::ReadBytes(package_target), "somebody else's file");
}

// Orvel's folder on a small drive that full_disk_test.sh mounts: the new package does
// not fit beside Orvel's files, so its write fails half-way.
TEST_F(UpdateTest, FullDiskKeepsTheOldPackage) {
  const char* drive = std::getenv("ORVEL_FULL_DISK");
  if (drive == nullptr) GTEST_SKIP() << "run by full_disk_test.sh, which mounts the small drive";
  const TestInstallation& orvel = AddInstallation(std::string(drive) + "Orvel\\");
  SetLastRunFolder(orvel.Folder());
  const std::uint64_t package_size = EmbeddedPackage().size();
  if (FreeBytes(drive) > package_size / 2)
    test::WriteBytes(std::string(drive) + "filler", std::string(FreeBytes(drive) - package_size / 2, 'f'));
  const std::uint64_t free_before = FreeBytes(drive);
  ASSERT_LT(free_before, package_size);
  const std::string installed = orvel.PackageBytes();

  const InstallerRun run = Run({"modest"});

  EXPECT_EQ(run.boxes, std::vector<Box>{Error(kEnglishTitle, kCantInstallEnglish + orvel.PackagePath())});
  EXPECT_EQ(run.exit_code, kNotWritten);
  EXPECT_TRUE(StillHolds(orvel, installed));
  EXPECT_EQ(FreeBytes(drive), free_before);
}

// Orvel's uninstall entry with writing denied to everyone (as a locked-down machine
// might have it): the installer cannot open it to record the size. Full access again
// afterwards, so that the entry can be removed.
class WriteDeniedKey {
 public:
  explicit WriteDeniedKey(const char* path) : path_(path) {
    set_ = SetAccess("D:(D;;0x2;;;WD)(A;;KA;;;WD)");  // deny KEY_SET_VALUE, allow the rest
  }
  ~WriteDeniedKey() { SetAccess("D:(A;;KA;;;WD)"); }
  WriteDeniedKey(const WriteDeniedKey&) = delete;
  WriteDeniedKey& operator=(const WriteDeniedKey&) = delete;
  bool Set() const { return set_; }

 private:
  bool SetAccess(const char* sddl) const {
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (!::ConvertStringSecurityDescriptorToSecurityDescriptorA(sddl, SDDL_REVISION_1, &descriptor, nullptr))
      return false;
    HKEY key = nullptr;
    LSTATUS status = ::RegOpenKeyExA(HKEY_LOCAL_MACHINE, path_, 0, WRITE_DAC | KEY_WOW64_64KEY, &key);
    if (status == ERROR_SUCCESS) {
      status = ::RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, descriptor);
      ::RegCloseKey(key);
    }
    ::LocalFree(descriptor);
    return status == ERROR_SUCCESS;
  }

  const char* path_;
  bool set_ = false;
};

// Orvel started the quiet update and waits to be started again: the new package is in
// place, so it is, although the size could not be recorded.
TEST_F(UpdateTest, RegistryErrorAfterAGoodWriteStillStartsOrvel) {
  SetLastRunFolder(Orvel().Folder());  // the entry cannot be read either
  const WriteDeniedKey entry(kNativeUninstallKey);
  ASSERT_TRUE(entry.Set());

  const InstallerRun run = Run({"modest", "runapp"});

  EXPECT_EQ(run.boxes, std::vector<Box>{Error(kEnglishTitle, kRegistryErrorEnglish)});
  EXPECT_EQ(run.exit_code, kRegistryError);
  EXPECT_TRUE(HoldsEmbeddedPackage(Orvel()));
  EXPECT_FALSE(EstimatedSize(kNativeUninstallKey).has_value());
  EXPECT_TRUE(WaitForStartByInstaller());
}

TEST_F(UpdateTest, MissingOrvelIsReportedInEnglish) {
  ASSERT_FALSE(RussianSession()) << "this test expects an English user locale";
  Orvel().RemoveHost();
  const std::string installed = Orvel().PackageBytes();

  const InstallerRun run = Run({}, {IDYES, IDYES});

  EXPECT_EQ(run.boxes, std::vector<Box>{Error(kEnglishTitle, kHostMissingEnglish)});
  EXPECT_EQ(run.exit_code, kNotInstalled);
  EXPECT_TRUE(StillHolds(Orvel(), installed));
  EXPECT_FALSE(EstimatedSize(kNativeUninstallKey).has_value());
}

TEST_F(UpdateTest, UnusableLanguageFileStopsTheRun) {
  const std::string english = Orvel().Folder() + "language\\english.lng";
  std::string text = test::ReadBytes(english);
  const std::size_t version = text.find("[langver]\r\n");
  ASSERT_NE(version, std::string::npos);
  text.insert(version + 11, "version ");  // no longer a number
  test::WriteBytes(english, text);
  const std::string installed = Orvel().PackageBytes();

  const InstallerRun run = Run({}, {IDYES, IDYES});

  EXPECT_EQ(run.boxes, std::vector<Box>{Error(kEnglishTitle, std::string("english.lng") + kLangFileErrorsEnglish)});
  EXPECT_EQ(run.exit_code, kNoLanguageFiles);
  EXPECT_TRUE(StillHolds(Orvel(), installed));
  EXPECT_FALSE(EstimatedSize(kNativeUninstallKey).has_value());
}

}  // namespace
}  // namespace orvel::e2e
