// The log asked for with /log=PATH: a quiet run and a failed run each leave their
// steps in it, ending with their exit code; an earlier log is appended to; a log
// that cannot be opened is reported once and changes nothing else.
//
// (A symbolic link as the log path, which the installer refuses too, cannot be set
// up here: Wine's CreateSymbolicLink makes nothing, and it shows Unix links to files
// as the files themselves.)
#include <cctype>
#include <cstdio>
#include <regex>
#include <sstream>

#include "installer_version.h"
#include "scratch.h"
#include "update_fixture.h"

namespace orvel::e2e {
namespace {

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// The log's lines after `first_lines` lines of an earlier run hold `expected`, in this
// order, and each starts with a local time stamp to the millisecond and ends in CR LF.
::testing::AssertionResult LogHolds(const std::string& path, std::size_t first_lines,
                                    const std::vector<std::string>& expected) {
  const std::vector<std::string> lines = Lines(test::ReadBytes(path));
  const std::regex stamped(R"(\d{4}-\d\d-\d\d \d\d:\d\d:\d\d\.\d{3} .*\r)");
  std::size_t next = 0;
  for (std::size_t i = first_lines; i < lines.size(); ++i) {
    if (!std::regex_match(lines[i], stamped)) return ::testing::AssertionFailure() << "not stamped: " << lines[i];
    if (next < expected.size() && lines[i].find(expected[next]) != std::string::npos) ++next;
  }
  if (next < expected.size())
    return ::testing::AssertionFailure() << "no line with \"" << expected[next] << "\" in order in\n"
                                         << test::ReadBytes(path);
  return ::testing::AssertionSuccess();
}

TEST_F(UpdateTest, QuietRunLogsItsStepsAfterAnEarlierLog) {
  const std::string log = Outside() + "orvel update.log";
  test::WriteBytes(log, "earlier run\r\n");

  // The option first, in capitals: "modest" and "runapp" still count as the first
  // and second argument.
  const InstallerRun run = Run({"\"/LOG=" + log + "\"", "modest", "runapp"});

  EXPECT_EQ(run.boxes, std::vector<Box>{});
  EXPECT_EQ(run.exit_code, kWritten);
  EXPECT_TRUE(HoldsEmbeddedPackage(Orvel()));
  EXPECT_TRUE(WaitForStartByInstaller());
  EXPECT_EQ(test::ReadBytes(log).rfind("earlier run\r\n", 0), 0u);
  EXPECT_TRUE(LogHolds(log, 1,
                       {"OrvelUpdate " ORVEL_VERSION_TEXT ", package version 6, command line: ", "Windows: ",
                        "Orvel's folder from its uninstall entry: " + Orvel().Folder(),
                        RussianSession() ? "language file russian.lng" : "language file english.lng",
                        "integrity check: intact", "package written: yes",
                        "EstimatedSize " + std::to_string(Orvel().SizeKiB()) + " KiB written",
                        "quiet run, \"runapp\" given: yes", "Orvel started ", "exit code 0: the package was written"}));
}

TEST_F(UpdateTest, FailedRunLogsItsExitCode) {
  Orvel().RemoveHost();
  const std::string log = Outside() + "failed.log";

  const InstallerRun run = Run({"modest", "/log=" + log});

  EXPECT_EQ(run.boxes.size(), 1u);
  EXPECT_EQ(run.exit_code, kNotInstalled);
  EXPECT_TRUE(LogHolds(log, 0, {"Orvel's folder from", "exit code 2: Orvel is not installed in the folder found"}));
}

// The box's text as the log holds it: each line break a blank.
std::string OneLine(const std::string& text) { return std::regex_replace(text, std::regex("\r\n"), " "); }

// The lock's old public name (an event or a held mutex there must not matter): a hash of the folder's final path.
std::string PublicLockName(const std::string& folder) {
  char path[MAX_PATH * 2], name[32];
  HANDLE held = ::CreateFileA(folder.c_str(), FILE_LIST_DIRECTORY, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  const DWORD length = ::GetFinalPathNameByHandleA(held, path, sizeof path, FILE_NAME_NORMALIZED);
  ::CloseHandle(held);
  std::uint32_t hash = 2166136261u;
  for (DWORD i = 0; i < length; ++i) hash = (hash ^ static_cast<unsigned char>(std::toupper(path[i]))) * 16777619u;
  std::snprintf(name, sizeof name, "Global\\OrvelUpdate-%08x", hash);
  return name;
}

// What the log and the exit code tell a deployment tool: each failure logs its reason before any box (read while
// the box is up), and a quiet run with /suppressmsgboxes, or any run where nobody sees a box, shows none.
enum Setup { kMissingOrvel, kLockedPackage, kDamagedCopy, kNewerPackage, kReadOnlyPackage, kEventAtLockName,
             kMutexAtLockName, kLogInMissingFolder, kNone };
struct LoggedRun {
  const char* name;
  Setup setup;
  std::vector<std::string> args, lines;  // the log option follows the args; the lines precede "exit code N"
  int exit_code;
  std::size_t boxes;
  const char* desktop = nullptr;  // "station\\desktop"; Wine makes a station it is not given, and nobody sees it
};

class LoggedRunTest : public UpdateTest, public ::testing::WithParamInterface<LoggedRun> {};

TEST_P(LoggedRunTest, EndsWithItsCodeAndLogsWhy) {
  const LoggedRun& c = GetParam();
  ASSERT_FALSE(RussianSession()) << "this test expects an English user locale";
  const std::string log = Outside() + (c.setup == kLogInMissingFolder ? "missing\\run.log" : "run.log");
  const std::string installed = Orvel().PackageBytes();
  std::vector<std::string> lines = c.lines;
  std::string installer;
  std::unique_ptr<RunningHost> host;
  if (c.setup == kMissingOrvel) Orvel().RemoveHost();
  if (c.setup == kLockedPackage) host = StartHost({"--hold-package", "--ignore-quit"});
  if (c.setup == kNewerPackage) Orvel().WritePackage(PackageOfVersion(kEmbeddedVersion + 3));
  if (c.setup == kReadOnlyPackage) ::SetFileAttributesA(Orvel().PackagePath().c_str(), FILE_ATTRIBUTE_READONLY);
  SECURITY_DESCRIPTOR no_dacl;  // open to everyone
  ::InitializeSecurityDescriptor(&no_dacl, SECURITY_DESCRIPTOR_REVISION);
  ::SetSecurityDescriptorDacl(&no_dacl, TRUE, nullptr, FALSE);
  SECURITY_ATTRIBUTES everyone = {sizeof everyone, &no_dacl, FALSE};
  const std::string lock_name = PublicLockName(Orvel().Folder());
  HANDLE squatter = c.setup == kEventAtLockName ? ::CreateEventA(nullptr, TRUE, FALSE, lock_name.c_str()) : nullptr;
  if (c.setup == kMutexAtLockName) squatter = ::CreateMutexA(&everyone, TRUE, lock_name.c_str());
  if (c.setup == kDamagedCopy) {
    std::string bytes = test::ReadBytes(InstallerPath());
    bytes.back() ^= 1;
    test::WriteBytes(installer = Scratch() + "damaged copy.exe", bytes);
    lines.insert(lines.begin() + 1, "error: " + OneLine(LanguageText("badinstaller")));
  }
  lines.push_back("exit code " + std::to_string(c.exit_code));
  std::vector<std::string> args = c.args;
  args.push_back("/log=" + log);
  std::string logged_at_box;
  const BeforeAnswer read_log = [&](const test::SeenDialog&) { logged_at_box += test::ReadBytes(log); };

  const InstallerRun run = RunInstaller(args, {}, Outside(), read_log, installer, c.desktop);
  host.reset();
  if (squatter != nullptr) ::CloseHandle(squatter);

  EXPECT_FALSE(run.timed_out);
  EXPECT_EQ(run.exit_code, c.exit_code);
  EXPECT_EQ(run.boxes.size(), c.boxes);
  for (const Box& box : run.boxes)
    if (box.icon == test::MessageIcon::kError) EXPECT_NE(logged_at_box.find("error: " + OneLine(box.text)), std::string::npos);
  // A run that did nothing has not touched the package; a log it could not open, with nobody to tell, it does not run without.
  if (c.exit_code == kCommandLineError) EXPECT_TRUE(StillHolds(Orvel(), installed));
  if (c.setup == kLogInMissingFolder) EXPECT_EQ(::GetFileAttributesA(log.c_str()), INVALID_FILE_ATTRIBUTES);
  else EXPECT_TRUE(LogHolds(log, 0, lines));
}

const std::string kSwitchedOff = "no message boxes: /suppressmsgboxes in a quiet run";
const std::string kCantInstall = "error: " + std::string(kCantInstallEnglish);
std::string InstalledVersion(int plus) { return "installed package version " + std::to_string(kEmbeddedVersion + plus); }

INSTANTIATE_TEST_SUITE_P(Runs, LoggedRunTest, ::testing::Values(
        // The switch first, so that it must be taken out before "modest" is counted.
        LoggedRun{"SwitchMissingOrvel", kMissingOrvel, {"/SuppressMsgBoxes", "modest"},
                  {"error: " + OneLine(kHostMissingEnglish), kSwitchedOff}, kNotInstalled, 0},
        LoggedRun{"SwitchLockedPackage", kLockedPackage, {"modest", "/suppressmsgboxes"},
                  {"Orvel running, asked to quit", "installed package not opened in 17 tries (about 4.4 s): Win32 error 32",
                   kCantInstall, kSwitchedOff}, kPackageLocked, 0},
        LoggedRun{"SwitchDamagedCopy", kDamagedCopy, {"/suppressmsgboxes", "modest"},
                  {"integrity check: the installer is altered or damaged", kSwitchedOff}, kDamaged, 0},
        LoggedRun{"MissingOrvel", kMissingOrvel, {"modest"}, {}, kNotInstalled, 1},
        LoggedRun{"NewerPackageReplaced", kNewerPackage, {"modest"},
                  {InstalledVersion(+3), "package written: yes", "an older package replaced a newer one"}, kWritten, 0},
        LoggedRun{"ReadOnlyPackage", kReadOnlyPackage, {"modest"},
                  {InstalledVersion(-1), ": Win32 error 5", kCantInstall}, kNotWritten, 1},
        LoggedRun{"EventAtLockName", kEventAtLockName, {"modest"}, {"package written: yes"}, kWritten, 0},
        LoggedRun{"MutexAtLockName", kMutexAtLockName, {"modest"}, {"package written: yes"}, kWritten, 0},
        LoggedRun{"SwitchInInteractiveRun", kNone, {"/suppressmsgboxes"},
                  {"/suppressmsgboxes changes nothing in an interactive run"}, kDeclined, 1},
        // An option not understood: no question, nothing done, the word named; the usage is the one box.
        LoggedRun{"UnknownOption", kNone, {"/S"}, {"command line not understood at '/S': nothing done"}, kCommandLineError, 1},
        LoggedRun{"SlashModest", kNone, {"/modest"}, {"not understood at '/modest'"}, kCommandLineError, 1},
        LoggedRun{"SwitchLogInMissingFolder", kLogInMissingFolder, {"modest", "/suppressmsgboxes"}, {}, kCommandLineError, 0},
        LoggedRun{"InteractiveOnHiddenDesktop", kNone, {},
                  {"no message boxes: the installer's window station is not visible"}, kDeclined, 0, "orvel-e2e-hidden\\Default"}),
    [](const auto& info) { return std::string(info.param.name); });

struct UnusableLog {
  const char* name;
  const char* path;  // below the test's outside folder, unless a network path
  int error;         // the Win32 error code the message names
};

class UnusableLogTest : public UpdateTest, public ::testing::WithParamInterface<UnusableLog> {};

TEST_P(UnusableLogTest, IsReportedOnceAndTheRunGoesOn) {
  const UnusableLog& c = GetParam();
  ASSERT_FALSE(RussianSession()) << "this test expects an English user locale";
  ::CreateDirectoryA((Outside() + "a folder").c_str(), nullptr);
  const std::string other_file = Outside() + "other file";
  test::WriteBytes(other_file, "not a log");
  ASSERT_TRUE(::CreateHardLinkA((Outside() + "second name").c_str(), other_file.c_str(), nullptr));
  ::CreateDirectoryA((Outside() + "real folder").c_str(), nullptr);
  ASSERT_TRUE(test::MakeUnixLink(Outside() + "linked folder", Outside() + "real folder"));
  const std::string path = c.path[0] == '\\' ? c.path : Outside() + c.path;

  const InstallerRun run = Run({"modest", "\"/log=" + path + "\""});

  EXPECT_EQ(run.boxes, std::vector<Box>{Error(kEnglishTitle, std::string(kLogFileFailedEn1) + path + std::string(kLogFileFailedEn2) +
                                                                 std::to_string(c.error) + std::string(kLogFileFailedEn3))});
  EXPECT_EQ(run.exit_code, kWritten);
  EXPECT_TRUE(HoldsEmbeddedPackage(Orvel()));
  EXPECT_EQ(EstimatedSize(kNativeUninstallKey), Orvel().SizeKiB());
  EXPECT_EQ(test::ReadBytes(other_file), "not a log");
  EXPECT_EQ(test::FolderEntries(Outside() + "real folder"), std::vector<std::string>{}) << "left where the link led";
}

INSTANTIATE_TEST_SUITE_P(
    Paths, UnusableLogTest,
    ::testing::Values(UnusableLog{"MissingFolder", "no such folder\\orvel.log", ERROR_PATH_NOT_FOUND},
                      UnusableLog{"Folder", "a folder", ERROR_ACCESS_DENIED},
                      UnusableLog{"SecondNameOfAnotherFile", "second name", ERROR_CANT_ACCESS_FILE},
                      UnusableLog{"LinkInAFolderOfThePath", "linked folder\\orvel.log", ERROR_CANT_ACCESS_FILE},
                      UnusableLog{"NetworkPath", "\\\\server\\share\\orvel.log", ERROR_BAD_PATHNAME}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace orvel::e2e
