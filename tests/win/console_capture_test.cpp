// Capturing a console command's output: "ver", where the temporary file goes and
// that it is gone afterwards, "ComSpec" left aside, the time limit, and the
// OEM-to-ANSI conversion; and the DLL search, kept to the system folder.
#include "sys/console_capture.h"

#include <windows.h>
#include <tlhelp32.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "base/scoped_handle_win.h"
#include "base/win_result_win.h"
#include "os_test_env.h"
#include "scratch.h"
#include "sys/console_text.h"
#include "sys/random_generator.h"
#include "sys/system_library_win.h"

namespace orvel {
namespace {

using test::FolderEntries;
using test::IsTemporaryFileName;
using test::ScopedCurrentFolder;
using test::ScopedEnvironmentVariable;
using test::ScratchFolder;
using test::SplitCrLfLines;

// The names in `folder` once they are `expected`, or after a few seconds. The output
// file goes with its last handle, and the console host that Wine starts for the
// command keeps a copy of the command's standard handles for a moment after the
// command has ended (the one of Windows does not).
std::vector<std::string> SettledEntries(const std::string& folder, const std::vector<std::string>& expected = {}) {
  std::vector<std::string> entries = FolderEntries(folder);
  for (int wait = 0; wait < 100 && entries != expected; ++wait) {
    ::Sleep(50);
    entries = FolderEntries(folder);
  }
  return entries;
}

// The one name among the listed ones that looks like a temporary file.
std::string ListedTemporaryName(const std::string& output) {
  std::string found;
  for (const std::string& line : SplitCrLfLines(output)) {
    if (IsTemporaryFileName(line)) {
      EXPECT_TRUE(found.empty()) << "two temporary names: " << found << ", " << line;
      found = line;
    }
  }
  return found;
}

TEST(RunConsoleCommandTest, VerGivesAnEmptyLineThenTheVersionLineAndLeavesNoFile) {
  ScratchFolder temp;
  ScopedEnvironmentVariable temp_variable("Temp", temp.Path());
  const std::string output = RunConsoleCommand("ver");
  ASSERT_GE(output.size(), 4u);
  EXPECT_EQ(output.substr(output.size() - 2), "\r\n");
  const std::vector<std::string> lines = SplitCrLfLines(output);
  ASSERT_EQ(lines.size(), 2u) << output;
  EXPECT_EQ(lines[0], "");
  EXPECT_EQ(lines[1].rfind("Microsoft Windows ", 0), 0u) << lines[1];
  EXPECT_EQ(SettledEntries(temp.Path()), std::vector<std::string>{});
}

TEST(RunConsoleCommandTest, TheOutputFileIsAnEightLetterNameInTempDeletedAfterwards) {
  ScratchFolder temp;
  ScratchFolder elsewhere;
  ScopedEnvironmentVariable temp_variable("Temp", temp.Path());
  ScopedCurrentFolder current(elsewhere.Path());
  test::WriteBytes(temp.Path() + "keep.txt", "mine");

  // The redirection creates the file before "dir" runs, so the listing shows it.
  const std::string first = ListedTemporaryName(RunConsoleCommand("dir /b \"" + temp.Path() + "\""));
  const std::string second = ListedTemporaryName(RunConsoleCommand("dir /b \"" + temp.Path() + "\""));
  EXPECT_TRUE(IsTemporaryFileName(first)) << first;
  EXPECT_TRUE(IsTemporaryFileName(second)) << second;
  EXPECT_NE(first, second);
  EXPECT_EQ(SettledEntries(temp.Path(), {"keep.txt"}), std::vector<std::string>{"keep.txt"});
  EXPECT_TRUE(FolderEntries(elsewhere.Path()).empty());
}

TEST(RunConsoleCommandTest, AFileAlreadyInTempIsLeftAlone) {
  ScratchFolder temp;
  ScopedEnvironmentVariable temp_variable("Temp", temp.Path());
  std::string taken;
  ASSERT_TRUE(RandomFileName(taken));
  test::WriteBytes(temp.Path() + taken, "somebody's file");

  const std::string output = RunConsoleCommand("dir /b \"" + temp.Path() + "\"");
  const std::vector<std::string> lines = SplitCrLfLines(output);
  ASSERT_EQ(lines.size(), 2u) << output;  // the file and the command's own output file
  EXPECT_EQ(test::ReadBytes(temp.Path() + taken), "somebody's file");
  EXPECT_EQ(SettledEntries(temp.Path(), {taken}), std::vector<std::string>{taken});
}

TEST(RandomFileNameTest, EightLowerCaseLettersNewEachTime) {
  std::string first, second;
  ASSERT_TRUE(RandomFileName(first) && RandomFileName(second));
  EXPECT_TRUE(IsTemporaryFileName(first)) << first;
  EXPECT_TRUE(IsTemporaryFileName(second)) << second;
  EXPECT_NE(first, second);
}

TEST(RunConsoleCommandTest, WithoutTempTheOutputFileGoesToTheCurrentFolder) {
  ScratchFolder current_folder;
  ScopedEnvironmentVariable temp_variable("Temp", std::nullopt);
  ScopedCurrentFolder current(current_folder.Path());
  const std::string output = RunConsoleCommand("dir /b \"" + current_folder.Path() + "\"");
  EXPECT_TRUE(IsTemporaryFileName(ListedTemporaryName(output))) << output;
  EXPECT_EQ(SettledEntries(current_folder.Path()), std::vector<std::string>{});
}

TEST(RunConsoleCommandTest, ComSpecIsNotConsulted) {
  ScratchFolder temp;
  ScopedEnvironmentVariable temp_variable("Temp", temp.Path());
  const std::optional<std::string> values[] = {std::nullopt, "C:\\" + std::string(1000, 'x'), "C:\\nowhere\\cmd.exe"};
  for (const std::optional<std::string>& value : values) {
    ScopedEnvironmentVariable comspec("ComSpec", value);
    const std::vector<std::string> lines = SplitCrLfLines(RunConsoleCommand("ver"));
    ASSERT_EQ(lines.size(), 2u) << value.value_or("(not set)");
    EXPECT_EQ(lines[1].rfind("Microsoft Windows ", 0), 0u) << lines[1];
  }
  EXPECT_EQ(SettledEntries(temp.Path()), std::vector<std::string>{});
}

// A stand-in over cmd.exe reports its command line (/D: no user's "AutoRun"), its folder, and no inherited handle.
TEST(RunConsoleCommandTest, TheInterpreterRunsWithoutAutoRunInTheSystemFolderWithOnlyItsOutput) {
  char system[MAX_PATH];
  const std::string folder(system, ::GetSystemDirectoryA(system, MAX_PATH));
  const std::string cmd = folder + "\\cmd.exe", saved = cmd + ".saved";
  ASSERT_TRUE(::CopyFileA(cmd.c_str(), saved.c_str(), FALSE));
  ASSERT_TRUE(::CopyFileA(ORVEL_CONSOLE_STANDIN, cmd.c_str(), FALSE));
  SECURITY_ATTRIBUTES inheritable = {sizeof inheritable, nullptr, TRUE};
  ScopedKernelHandle probe(::CreateEventA(&inheritable, TRUE, TRUE, nullptr));
  ScopedEnvironmentVariable number("ORVEL_PROBE_HANDLE", std::to_string(reinterpret_cast<std::uintptr_t>(probe.Get())));
  // Wine runs the stand-in, not its own cmd: "cmd.exe=n" for this program's children.
  test::SetRegistryString(HKEY_CURRENT_USER, "Software\\Wine\\DllOverrides", "cmd.exe", "native");
  const std::vector<std::string> lines = SplitCrLfLines(RunConsoleCommand("ver"));
  ::RegDeleteKeyValueA(HKEY_CURRENT_USER, "Software\\Wine\\DllOverrides", "cmd.exe");
  EXPECT_TRUE(::CopyFileA(saved.c_str(), cmd.c_str(), FALSE));
  EXPECT_EQ(lines, (std::vector<std::string>{"\"" + cmd + "\" /D /c ver", folder, "0"}));
}

// Ids of the running processes started by `parent` whose executable is `name`, or
// of any name when `name` is empty.
std::vector<DWORD> ChildProcesses(DWORD parent, const char* name) {
  std::vector<DWORD> children;
  ScopedKernelHandle snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  if (!snapshot) return children;
  PROCESSENTRY32 entry = {};
  entry.dwSize = sizeof entry;
  for (BOOL more = ::Process32First(snapshot.Get(), &entry); more; more = ::Process32Next(snapshot.Get(), &entry)) {
    if (entry.th32ParentProcessID == parent && (*name == '\0' || ::lstrcmpiA(entry.szExeFile, name) == 0)) {
      children.push_back(entry.th32ProcessID);
    }
  }
  return children;
}

TEST(RunConsoleCommandTest, ACommandThatOutlastsTheWaitCountsAsSilentAndKeepsRunning) {
  ScratchFolder temp;
  ScopedEnvironmentVariable temp_variable("Temp", temp.Path());
  // "ping" writes its first line at once and then takes about a second per echo: a
  // capture that waited for it would hold its lines.
  EXPECT_EQ(RunConsoleCommand("ping -n 8 127.0.0.1", 1000), "\r\n");

  // Left alone: the interpreter and its "ping" still run, and end on their own.
  std::vector<DWORD> interpreters;
  for (DWORD child : ChildProcesses(::GetCurrentProcessId(), "")) {
    if (!ChildProcesses(child, "ping.exe").empty()) interpreters.push_back(child);
  }
  ASSERT_EQ(interpreters.size(), 1u);
  ScopedKernelHandle interpreter(::OpenProcess(SYNCHRONIZE, FALSE, interpreters[0]));
  ASSERT_TRUE(interpreter);
  EXPECT_EQ(::WaitForSingleObject(interpreter.Get(), 30000), WAIT_OBJECT_0);
}

TEST(RunConsoleCommandTest, OemOutputComesBackInTheAnsiCodePage) {
  ScratchFolder temp;
  ScopedEnvironmentVariable temp_variable("Temp", temp.Path());
  // Bytes as a console program would write them in the OEM code page.
  std::string oem;
  for (int c = 0x80; c <= 0xFF; ++c) oem += static_cast<char>(c);
  test::WriteBytes(temp.Path() + "oem.txt", "x" + oem + "\r\n");
  const std::string output = RunConsoleCommand("type \"" + temp.Path() + "oem.txt\"");

  wchar_t wide[128];
  ASSERT_EQ(::MultiByteToWideChar(CP_OEMCP, 0, oem.data(), 128, wide, 128), 128);
  char ansi[128];
  BOOL unmappable = FALSE;
  ASSERT_EQ(::WideCharToMultiByte(CP_ACP, 0, wide, 128, ansi, 128, nullptr, &unmappable), 128);
  // Compare where the ANSI code page has the character; others may be best-fitted.
  const std::vector<std::string> lines = SplitCrLfLines(output);
  ASSERT_EQ(lines.size(), 1u) << output;
  ASSERT_EQ(lines[0].size(), 129u);
  int compared = 0;
  for (int i = 0; i < 128; ++i) {
    wchar_t back = 0;
    ::MultiByteToWideChar(CP_ACP, 0, &ansi[i], 1, &back, 1);
    if (back != wide[i]) continue;
    EXPECT_EQ(lines[0][i + 1], ansi[i]) << "OEM byte " << (0x80 + i);
    ++compared;
  }
  EXPECT_GT(compared, 32);
  EXPECT_EQ(SettledEntries(temp.Path(), {"oem.txt"}), std::vector<std::string>{"oem.txt"});
}

TEST(OemToAnsiTextTest, KeepsTheLengthAndZeroBytes) {
  EXPECT_EQ(OemToAnsiText(""), "");
  EXPECT_EQ(OemToAnsiText("Microsoft Windows [Version 10.0]\r\n"), "Microsoft Windows [Version 10.0]\r\n");
  const std::string with_zero("a\0b", 3);
  EXPECT_EQ(OemToAnsiText(with_zero), with_zero);
  EXPECT_EQ(OemToAnsiText(std::string(5000, '\x82')).size(), 5000u);
}

// The DLL search: the system folder only where Windows has the call; else no current folder, and full paths.
DWORD given_flags = 0;
BOOL WINAPI FakeSetDefaultDllDirectories(DWORD flags) { return given_flags = flags, TRUE; }

TEST(RestrictDllSearchTest, WithTheCallOnlyTheSystemFolderWithoutItFullPaths) {
  ::SetDllDirectoryA("Z:\\tmp");
  // Those that Windows' libraries load by name on a quiet run; Wine 8.0 has neither, so the marking DLL stands in.
  const char* const by_name[] = {"cryptbase.dll", "bcryptprimitives.dll"};
  std::vector<std::string> planted;
  for (const std::string name : by_name)
    if (!test::Exists("C:\\windows\\system32\\" + name) &&
        ::CopyFileA(ORVEL_MARK_DLL, ("C:\\windows\\system32\\" + name).c_str(), TRUE))
      planted.push_back("C:\\windows\\system32\\" + name);
  EXPECT_FALSE(RestrictDllSearch(nullptr));
  char text[MAX_PATH] = "unchanged";
  EXPECT_EQ(::GetDllDirectoryA(MAX_PATH, text), 0u);
  const ScopedLibrary library = LoadSystemLibrary("msimg32.dll");
  ASSERT_GT(::GetModuleFileNameA(library.Get(), text, MAX_PATH), 0u);
  EXPECT_STRCASEEQ(text, "C:\\windows\\system32\\msimg32.dll");
  for (const std::string name : by_name) {
    const HMODULE loaded = ::GetModuleHandleA(name.c_str());
    EXPECT_GT(::GetModuleFileNameA(loaded, text, MAX_PATH), 0u) << name;
    EXPECT_STRCASEEQ(text, ("C:\\windows\\system32\\" + name).c_str());
  }
  for (const std::string& path : planted) {
    while (::FreeLibrary(::GetModuleHandleA(path.c_str()))) {}
    ::DeleteFileA(path.c_str());
    ::DeleteFileA((path + ".loaded").c_str());
  }
  EXPECT_TRUE(RestrictDllSearch(FakeSetDefaultDllDirectories));
  EXPECT_EQ(given_flags, static_cast<DWORD>(LOAD_LIBRARY_SEARCH_SYSTEM32));
}

}  // namespace
}  // namespace orvel
