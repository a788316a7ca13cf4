// Console command capture through a temporary file (see console_capture.h).
#include "sys/console_capture.h"

#include <windows.h>

#include "base/scoped_handle_win.h"
#include "base/win_result_win.h"
#include "sys/console_text.h"
#include "sys/environment_win.h"
#include "sys/path_rules.h"
#include "sys/random_generator.h"

namespace orvel {

namespace {

// The system folder, where the interpreter is taken from and runs. Never the program
// that "ComSpec" names: the user's environment must not choose what this elevated
// process runs.
std::string SystemFolder() {
  char folder[MAX_PATH];
  const UINT length = ::GetSystemDirectoryA(folder, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return std::string();
  return std::string(folder, length);
}

// A new file in `folder` with a fresh 8-letter name, made here (a name that is taken
// is drawn again), for the command to write to through the inheritable handle. It is
// shared with nobody and goes with its last handle, so nobody can swap it or turn it
// into a link before it is read. Without a fresh name from the system's generator no
// file is made.
ScopedFileHandle CreateOutputFile(const std::string& folder) {
  SECURITY_ATTRIBUTES inheritable = {sizeof inheritable, nullptr, TRUE};
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::string name;
    if (!RandomFileName(name)) break;
    const std::string path = folder + name;
    ScopedFileHandle file(::CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE | DELETE, 0, &inheritable,
                                        CREATE_NEW, FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr));
    if (file || ::GetLastError() != ERROR_FILE_EXISTS) return file;
  }
  return ScopedFileHandle();
}

std::string ReadFromStart(HANDLE file) {
  std::string bytes;
  if (::SetFilePointer(file, 0, nullptr, FILE_BEGIN) == INVALID_SET_FILE_POINTER) return bytes;
  char chunk[4096];
  DWORD got = 0;
  while (::ReadFile(file, chunk, sizeof chunk, &got, nullptr) && got > 0) bytes.append(chunk, got);
  return bytes;
}

// Starts the command line in a hidden console of its own, in the system folder,
// its standard output going to `output`, and waits for it. True when it ran to its
// end within `wait_ms`. Only the output file's handle is handed on: the interpreter
// runs elevated and gets nothing else of this process.
bool RunHidden(const std::string& folder, std::string_view command, HANDLE output, DWORD wait_ms) {
  alignas(8) char list_bytes[128];  // one attribute takes 48 bytes on x86_64
  auto* const list = reinterpret_cast<LPPROC_THREAD_ATTRIBUTE_LIST>(list_bytes);
  SIZE_T list_size = sizeof list_bytes;
  if (!::InitializeProcThreadAttributeList(list, 1, 0, &list_size)) return false;
  STARTUPINFOEXA startup = {};
  startup.StartupInfo.cb = sizeof startup;
  startup.StartupInfo.dwFlags = STARTF_USESHOWWINDOW | STARTF_USESTDHANDLES;
  startup.StartupInfo.wShowWindow = SW_HIDE;
  startup.StartupInfo.hStdOutput = output;
  startup.lpAttributeList = list;
  PROCESS_INFORMATION started = {};
  const std::string interpreter = folder + "\\cmd.exe";
  const bool ran = ::UpdateProcThreadAttribute(list, 0, PROC_THREAD_ATTRIBUTE_HANDLE_LIST, &output, sizeof output,
                                               nullptr, nullptr) &&
                   ::CreateProcessA(interpreter.c_str(), ConsoleCommandLine(interpreter, command).data(), nullptr,
                                    nullptr, TRUE, CREATE_NEW_CONSOLE | CREATE_NEW_PROCESS_GROUP |
                                    EXTENDED_STARTUPINFO_PRESENT, nullptr, folder.c_str(), &startup.StartupInfo,
                                    &started);
  ::DeleteProcThreadAttributeList(list);
  if (!ran) return false;
  ScopedKernelHandle process(started.hProcess);
  ScopedKernelHandle thread(started.hThread);
  // A command that does not end is left running: stopping it could leave whatever it
  // was doing half done, and the caller only loses its output.
  return ::WaitForSingleObject(process.Get(), wait_ms) == WAIT_OBJECT_0;
}

}  // namespace

std::string RunConsoleCommand(std::string_view command, std::uint32_t wait_ms) {
  const std::string system_folder = SystemFolder();
  if (system_folder.empty()) return std::string();

  std::string folder = EnvironmentText("Temp");
  EnsureTrailingBackslash(folder);
  std::string output;
  // Closing the handle deletes the file; a command still running keeps it until it
  // ends.
  ScopedFileHandle output_file = CreateOutputFile(folder);
  if (output_file && RunHidden(system_folder, command, output_file.Get(), wait_ms)) {
    output = ReadFromStart(output_file.Get());
  }
  return OemToAnsiText(ConsoleOutputLines(output));
}

std::string OemToAnsiText(std::string_view text) {
  std::string converted(text.size(), '\0');
  if (!text.empty()) ::OemToCharBuffA(text.data(), converted.data(), static_cast<DWORD>(text.size()));
  return converted;
}

}  // namespace orvel
