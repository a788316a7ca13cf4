// The log asked for with /log=PATH: a quiet run and a failed run each leave their
// steps in it, ending with their exit code; an earlier log is appended to; a log
// that cannot be opened is reported once and changes nothing else.
//
// (A symbolic link as the log path, which the installer refuses too, cannot be set
// up here: Wine's CreateSymbolicLink makes nothing, and it shows Unix links to files
// as the files themselves.)
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

struct UnusableLog {
  const char* name;
  const char* path;  // below the test's outside folder
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
  const std::string path = Outside() + c.path;

  const InstallerRun run = Run({"modest", "\"/log=" + path + "\""});

  EXPECT_EQ(run.boxes, std::vector<Box>{Error(kEnglishTitle, "Cannot write the log file " + path + " (error " +
                                                                 std::to_string(c.error) +
                                                                 ").\r\nThe update goes on without a log.")});
  EXPECT_EQ(run.exit_code, kWritten);
  EXPECT_TRUE(HoldsEmbeddedPackage(Orvel()));
  EXPECT_EQ(EstimatedSize(kNativeUninstallKey), Orvel().SizeKiB());
  EXPECT_EQ(test::ReadBytes(other_file), "not a log");
}

INSTANTIATE_TEST_SUITE_P(
    Paths, UnusableLogTest,
    ::testing::Values(UnusableLog{"MissingFolder", "no such folder\\orvel.log", ERROR_PATH_NOT_FOUND},
                      UnusableLog{"Folder", "a folder", ERROR_ACCESS_DENIED},
                      UnusableLog{"SecondNameOfAnotherFile", "second name", ERROR_CANT_ACCESS_FILE}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace orvel::e2e
