// The end-to-end fixture (see update_fixture.h).
#include "update_fixture.h"

#include <atomic>
#include <cstdlib>
#include <random>

#include "scratch.h"

namespace orvel::e2e {

namespace {

constexpr DWORD kHostStartTimeoutMs = 10000;
// Where a stand-in that does not inherit the test's environment finds its log.
constexpr char kStandInTestsKey[] = "Software\\Orvel tests";
constexpr char kStandInKey[] = "Software\\Orvel tests\\Stand-in";

std::string NewScratchFolder() {
  static std::atomic<int> counter{0};
  char temp[MAX_PATH] = {};
  ::GetTempPathA(MAX_PATH, temp);
  return std::string(temp) + "orvel-e2e-" + std::to_string(::GetCurrentProcessId()) + "-" +
         std::to_string(counter++) + "\\";
}

::testing::AssertionResult SameBytes(const std::string& seen, const std::string& expected, const char* what) {
  if (seen == expected) return ::testing::AssertionSuccess();
  std::size_t at = 0;
  while (at < seen.size() && at < expected.size() && seen[at] == expected[at]) ++at;
  return ::testing::AssertionFailure() << what << ": " << seen.size() << " bytes instead of " << expected.size()
                                       << ", first difference at offset " << at;
}

}  // namespace

Box OlderPackageQuestion() {
  return Question(LanguageText("soundquest"), LanguageText("olderfilever", {kPackageFileName}));
}

std::string PackageDisplayName(int version) { return LanguageText(kPackageKey) + " " + std::to_string(version); }

Box InstallQuestion(int version) {
  return Question(LanguageText("soundquest"),
                  LanguageText("installask", {LanguageText("liveupdatecaption"), PackageDisplayName(version)}));
}

Box DoneQuestion() {
  const std::string caption = LanguageText("liveupdatecaption");
  return Question(caption,
                  LanguageText("installdone", {caption + " (" + PackageDisplayName(kEmbeddedVersion) + ")"}) +
                      "\r\n\r\n" + LanguageText("asktorun"));
}

Box LanguageError(const std::string& text) { return Error(LanguageText("progname"), text); }

::testing::AssertionResult HoldsEmbeddedPackage(const TestInstallation& installation) {
  if (EmbeddedPackage().empty()) return ::testing::AssertionFailure() << "the embedded package cannot be read";
  auto same = SameBytes(installation.PackageBytes(), EmbeddedPackage(), "installed package");
  if (!same) return same;
  if (installation.HasStagingFile())
    return ::testing::AssertionFailure() << installation.StagingPath() << " was left behind";
  return ::testing::AssertionSuccess();
}

::testing::AssertionResult StillHolds(const TestInstallation& installation, const std::string& bytes) {
  auto same = SameBytes(installation.PackageBytes(), bytes, "installed package");
  if (!same) return same;
  if (installation.HasStagingFile())
    return ::testing::AssertionFailure() << installation.StagingPath() << " was left behind";
  return ::testing::AssertionSuccess();
}

std::uint64_t SeriesSeed(const char* variable) {
  if (const char* seed = std::getenv(variable)) return std::strtoull(seed, nullptr, 10);
  return std::random_device()() | static_cast<std::uint64_t>(std::random_device()()) << 32;
}

void UpdateTest::SetUp() {
  ASSERT_TRUE(test::Exists(InstallerPath())) << "no installer at " << InstallerPath();
  ASSERT_TRUE(test::Exists(StandInHostPath())) << "no stand-in Orvel at " << StandInHostPath();
  RemoveOrvelRegistry();
  scratch_ = NewScratchFolder();
  test::RemoveTree(scratch_);
  ASSERT_TRUE(::CreateDirectoryA(scratch_.c_str(), nullptr)) << scratch_;
  outside_ = scratch_ + "outside\\";
  ::CreateDirectoryA(outside_.c_str(), nullptr);
  log_path_ = outside_ + "standin_host.log";
  // The stand-ins that the test starts inherit it; one that the desktop shell starts
  // for the installer finds it in the registry.
  ::SetEnvironmentVariableA("ORVEL_STANDIN_LOG", log_path_.c_str());
  test::SetRegistryString(HKEY_CURRENT_USER, kStandInKey, "Log", log_path_);
  orvel_ = std::make_unique<TestInstallation>(scratch_ + "Orvel\\");
  SetUninstallString(kNativeUninstallKey, orvel_->Folder() + "unins000.exe");
}

void UpdateTest::TearDown() {
  if (orvel_) StopHostProcesses(orvel_->HostPath());
  for (const auto& other : others_) {
    StopHostProcesses(other->HostPath());
    test::RemoveTree(other->Folder());
  }
  RemoveOrvelRegistry();
  if (!scratch_.empty()) test::RemoveTree(scratch_);
  ::SetEnvironmentVariableA("ORVEL_STANDIN_LOG", nullptr);
  test::DeleteRegistryTree(HKEY_CURRENT_USER, kStandInTestsKey);
}

const TestInstallation& UpdateTest::AddInstallation(const std::string& name) {
  const bool full_path = name.size() > 2 && name[1] == ':';
  others_.push_back(std::make_unique<TestInstallation>(full_path ? name : scratch_ + name + "\\"));
  return *others_.back();
}

InstallerRun UpdateTest::Run(const std::vector<std::string>& args, const std::vector<int>& answers,
                             BeforeAnswer before_answer) {
  InstallerRun run = RunInstaller(args, answers, outside_, std::move(before_answer));
  EXPECT_FALSE(run.timed_out) << "the installer did not end within a minute";
  return run;
}

InstallerRun UpdateTest::RunCopy(const std::string& installer, const std::vector<std::string>& args,
                                 const std::vector<int>& answers) {
  InstallerRun run = RunInstaller(args, answers, outside_, {}, installer);
  EXPECT_FALSE(run.timed_out) << "the installer did not end within a minute";
  return run;
}

void UpdateTest::SetUninstallString(const char* key, const std::string& value) {
  test::SetRegistryString(HKEY_LOCAL_MACHINE, key, "UninstallString", value);
}

void UpdateTest::SetLastRunFolder(const std::string& folder) {
  test::SetRegistryString(HKEY_CURRENT_USER, kUserKey, "TheLastRunFolder", folder);
}

std::optional<DWORD> UpdateTest::EstimatedSize(const char* key) const {
  return ReadDword(HKEY_LOCAL_MACHINE, key, "EstimatedSize");
}

std::unique_ptr<RunningHost> UpdateTest::StartHost(const std::vector<std::string>& options) {
  auto host = std::make_unique<RunningHost>(orvel_->HostPath(), options);
  EXPECT_TRUE(host->Ready()) << "the stand-in Orvel did not get ready";
  return host;
}

std::vector<LogEvent> UpdateTest::StartsByInstaller() const {
  std::vector<LogEvent> starts;
  for (const LogEvent& event : EventsNamed(HostLog(), "started"))
    if (event.size() > 1 && event[1].find("--ready-event") == std::string::npos) starts.push_back(event);
  return starts;
}

bool UpdateTest::WaitForStartByInstaller() const {
  const std::size_t by_test = EventsNamed(HostLog(), "started").size() - StartsByInstaller().size();
  return WaitForHostEvent(log_path_, "started", by_test + 1, kHostStartTimeoutMs) && !StartsByInstaller().empty();
}

bool UpdateTest::NoStartByInstaller() const {
  return StartsByInstaller().empty() && HostProcesses(orvel_->HostPath()).empty();
}

}  // namespace orvel::e2e
