// Naming the running Windows under Wine: the 64-bit flag and the registry view it
// selects (in a 64-bit Windows, and in the 32-bit build also in a 32-bit one), and,
// in a copy of this program that Wine tells another Windows version, that the
// console's "ver" is consulted exactly where Windows reports 6.2 and "ProductName" cannot be read, through the
// system's own interpreter.
#include "sys/os_description.h"
#include "sys/os_description_win.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <sstream>

#include "app/program_start.h"
#include "base/program_state.h"
#include "base/scoped_handle_win.h"
#include "os_test_env.h"
#include "scratch.h"

namespace orvel {
namespace {

using test::ScopedEnvironmentVariable;
using test::ScratchFolder;

constexpr char kProbeOutputVariable[] = "ORVEL_OS_PROBE_OUTPUT";
constexpr char kProbeExe[] = "orvel_os_probe.exe";
constexpr char kProbeAppDefaultsKey[] = "Software\\Wine\\AppDefaults\\orvel_os_probe.exe";
constexpr char kCmdAppDefaultsKey[] = "Software\\Wine\\AppDefaults\\cmd.exe";
constexpr REGSAM kAccess64 = KEY_ALL_ACCESS | KEY_WOW64_64KEY;

// The live facts, with the console's part counted.
class CountingFacts : public LiveWindowsFacts {
 public:
  int ver_calls = 0;
  std::string ver;
  std::string ConsoleVersionText() override {
    ++ver_calls;
    ver = LiveWindowsFacts::ConsoleVersionText();
    return ver;
  }
};

// The same, with "ProductName" missing, so the composed release stays in sight.
class NoProductNameFacts : public CountingFacts {
 public:
  bool ProductName(std::string&) override { return false; }
};

// The Windows of the session this test runs in: 32-bit where CTest says so
// (ORVEL_TEST_WINDOWS_BITS=32), else 64-bit.
bool SessionIs32BitWindows() {
  const char* bits = std::getenv("ORVEL_TEST_WINDOWS_BITS");
  return bits != nullptr && std::string(bits) == "32";
}

TEST(DescribeOperatingSystemTest, BitnessOfWindowsSetsTheFlagAndTheRegistryView) {
  const bool windows32 = SessionIs32BitWindows();
  Program().OsIs64Bit = windows32;  // the opposite of what it must become
  const std::string text = DescribeOperatingSystem();
  const std::string product_name =
      test::GetRegistryString(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion", "ProductName");
  ASSERT_FALSE(product_name.empty());
  // Vista and later: the registry's product name, then the bitness.
  EXPECT_EQ(text.rfind(product_name + (windows32 ? " 32-bit" : " 64-bit"), 0), 0u) << text;
  EXPECT_EQ(Program().OsIs64Bit, !windows32);
  EXPECT_FALSE(OsIsServer());

  InitProgramState();
  ASSERT_TRUE(Program().SharedRegistry);
  EXPECT_EQ(Program().SharedRegistry->Access(), windows32 ? KEY_ALL_ACCESS : kAccess64);
  DoneProgramState();
}

// Runs only inside the probe copy started below: names the Windows this copy is
// told and writes what it found for the test that started it.
TEST(OsDescriptionProbe, DISABLED_ReportToParent) {
  char output_path[MAX_PATH] = {};
  if (::GetEnvironmentVariableA(kProbeOutputVariable, output_path, MAX_PATH) == 0) GTEST_SKIP();
  WindowsVersionFacts facts;
  ASSERT_TRUE(ReadWindowsVersionFacts(facts));
  CountingFacts counting;
  WindowsName name;
  ASSERT_TRUE(NameWindowsVersion(facts, counting, name));
  NoProductNameFacts no_product_name;
  WindowsName release;
  ASSERT_TRUE(NameWindowsVersion(facts, no_product_name, release));
  InitProgramState();  // names the Windows itself and creates the registry object
  std::ostringstream report;
  report << "major=" << facts.major << "\nminor=" << facts.minor << "\nproduct_type=" << int(facts.product_type)
         << "\narchitecture=" << facts.architecture << "\nver_calls=" << counting.ver_calls
         << "\nrelease_ver_calls=" << no_product_name.ver_calls
         << "\nver_ok=" << (no_product_name.ver.rfind("\r\nMicrosoft Windows ", 0) == 0) << "\nrelease=" << release.description
         << "\ndescription=" << ComposeOsDescription(name).text << "\nversion=" << name.version
         << "\nsixty_four=" << Program().OsIs64Bit << "\naccess=" << Program().SharedRegistry->Access() << "\n";
  DoneProgramState();
  test::WriteBytes(output_path, report.str());
}

std::map<std::string, std::string> ParseReport(const std::string& text) {
  std::map<std::string, std::string> values;
  std::istringstream lines(text);
  std::string line;
  while (std::getline(lines, line)) {
    const std::size_t equals = line.find('=');
    if (equals != std::string::npos) values[line.substr(0, equals)] = line.substr(equals + 1);
  }
  return values;
}

// Tells Wine which Windows version to report to the probe copy and to the command
// interpreter it starts, as if the whole prefix were set to it; forgets it again.
class ProbeVersion {
 public:
  explicit ProbeVersion(const char* version) {
    test::SetRegistryString(HKEY_CURRENT_USER, kProbeAppDefaultsKey, "Version", version);
    test::SetRegistryString(HKEY_CURRENT_USER, kCmdAppDefaultsKey, "Version", version);
  }
  ~ProbeVersion() {
    test::DeleteRegistryTree(HKEY_CURRENT_USER, kProbeAppDefaultsKey);
    test::DeleteRegistryTree(HKEY_CURRENT_USER, kCmdAppDefaultsKey);
  }
  ProbeVersion(const ProbeVersion&) = delete;
  ProbeVersion& operator=(const ProbeVersion&) = delete;
};

std::map<std::string, std::string> RunProbe(const std::string& exe, const std::string& output) {
  ScopedEnvironmentVariable variable(kProbeOutputVariable, output);
  std::string command_line =
      "\"" + exe + "\" --gtest_also_run_disabled_tests --gtest_filter=OsDescriptionProbe.DISABLED_ReportToParent";
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION started = {};
  if (!::CreateProcessA(exe.c_str(), command_line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &started)) {
    ADD_FAILURE() << "probe did not start: " << ::GetLastError();
    return {};
  }
  ScopedKernelHandle process(started.hProcess);
  ScopedKernelHandle thread(started.hThread);
  EXPECT_EQ(::WaitForSingleObject(process.Get(), 90000), WAIT_OBJECT_0);
  return ParseReport(test::ReadBytes(output));
}

TEST(DescribeOperatingSystemTest, ConsoleVersionIsAskedOnlyWhereWindowsReportsSixTwo) {
  ScratchFolder scratch;
  char self[MAX_PATH];
  ASSERT_GT(::GetModuleFileNameA(nullptr, self, MAX_PATH), 0u);
  const std::string probe = scratch.Path() + kProbeExe;
  ASSERT_TRUE(::CopyFileA(self, probe.c_str(), FALSE));
  // "ComSpec" naming a program of the user's choice, as a per-user environment value
  // puts it into every process the user starts: the console's "ver" must still come
  // from the system's interpreter, and that program must never run.
  const std::string planted = scratch.Path() + "planted.bat";
  const std::string planted_trace = scratch.Path() + "planted_ran.txt";
  test::WriteBytes(planted, "@echo ran>\"" + planted_trace + "\"\r\n");
  ScopedEnvironmentVariable comspec("ComSpec", planted);
  const std::string product_name =
      test::GetRegistryString(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion", "ProductName");

  struct Case {
    const char* wine_version;
    const char* major;
    const char* minor;
    bool runs_ver;
    const char* release;      // the release named without "ProductName"; nullptr: not checked
    const char* description;  // nullptr: "ProductName" + " 64-bit", then any service pack
  } cases[] = {
      {"win7", "6", "1", false, nullptr, nullptr},
      // Without a compatibility declaration Windows 8 and later all report 6.2; the
      // console's "ver" line tells them apart.
      {"win8", "6", "2", true, "Microsoft Windows 8  64-bit", nullptr},
      {"win81", "6", "2", true, "Microsoft Windows 8.1  64-bit", nullptr},
      {"win10", "6", "2", true, "Microsoft Windows 10  64-bit", nullptr},
      // 64-bit, but " x64" is not " 64": the registry is used in the default view.
      {"winxp64", "5", "2", false, "Microsoft Windows XP Professional x64",
       "Microsoft Windows XP Professional x64 Service Pack 2"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.wine_version);
    std::map<std::string, std::string> report;
    {
      ProbeVersion version(c.wine_version);
      report = RunProbe(probe, scratch.Path() + c.wine_version + ".txt");
    }
    ASSERT_FALSE(report.empty());
    EXPECT_EQ(report["major"], c.major);
    EXPECT_EQ(report["minor"], c.minor);
    EXPECT_EQ(report["architecture"], "9");
    EXPECT_EQ(report["ver_calls"], "0");  // "ProductName" is readable here: no console needed
    EXPECT_EQ(report["release_ver_calls"], c.runs_ver ? "1" : "0");
    if (c.runs_ver) EXPECT_EQ(report["ver_ok"], "1");
    if (c.release != nullptr) {
      EXPECT_EQ(report["product_type"], "1");
      EXPECT_EQ(report["release"], c.release);
    }
    if (c.description != nullptr) {
      EXPECT_EQ(report["description"], c.description);
      EXPECT_EQ(report["sixty_four"], "0");
      EXPECT_EQ(report["access"], std::to_string(KEY_ALL_ACCESS));
    } else {
      EXPECT_EQ(report["description"].rfind(product_name + " 64-bit", 0), 0u) << report["description"];
      EXPECT_EQ(report["sixty_four"], "1");
      EXPECT_EQ(report["access"], std::to_string(kAccess64));
    }
  }
  EXPECT_FALSE(test::Exists(planted_trace));
}

}  // namespace
}  // namespace orvel
