// Console command capture through a temporary file (see console_capture.h).
#include "sys/console_capture.h"

#include <windows.h>

#include "sys/console_text.h"
#include "sys/environment_win.h"
#include "sys/path_rules.h"
#include "sys/random_generator.h"
#include "sys/scoped_handle_win.h"

namespace orvel {

namespace {

bool FileExists(const std::string& path) {
  return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// A path in `folder` with a fresh 8-letter name. A name that is taken is drawn again,
// so that the redirection never overwrites, and the clean-up never deletes, a file
// this call did not create.
bool FreeTemporaryPath(const std::string& folder, std::string& path) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    path = folder + TemporaryFileName(ProcessRandom());
    if (!FileExists(path)) return true;
  }
  return false;
}

std::string ReadWholeFile(const std::string& path) {
  std::string bytes;
  ScopedFileHandle file(::CreateFileA(path.c_str(), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return bytes;
  char chunk[4096];
  DWORD got = 0;
  while (::ReadFile(file.Get(), chunk, sizeof chunk, &got, nullptr) && got > 0) bytes.append(chunk, got);
  return bytes;
}

// Starts the command line in a hidden console of its own and waits for it. True
// when it ran to its end within `wait_ms`.
bool RunHidden(std::string command_line, DWORD wait_ms) {
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_HIDE;
  PROCESS_INFORMATION started = {};
  if (!::CreateProcessA(nullptr, command_line.data(), nullptr, nullptr, FALSE,
                        CREATE_NEW_CONSOLE | CREATE_NEW_PROCESS_GROUP, nullptr, nullptr, &startup, &started)) {
    return false;
  }
  ScopedKernelHandle process(started.hProcess);
  ScopedKernelHandle thread(started.hThread);
  // A command that does not end is left running: stopping it could leave whatever it
  // was doing half done, and the caller only loses its output.
  return ::WaitForSingleObject(process.Get(), wait_ms) == WAIT_OBJECT_0;
}

}  // namespace

std::string RunConsoleCommand(std::string_view command, std::uint32_t wait_ms) {
  char interpreter[MAX_PATH];
  const DWORD interpreter_length = ::GetEnvironmentVariableA("ComSpec", interpreter, MAX_PATH);
  // A value that does not fit is no usable path either.
  if (interpreter_length == 0 || interpreter_length >= MAX_PATH) return std::string();

  std::string folder = EnvironmentText("Temp");
  EnsureTrailingBackslash(folder);
  std::string output_path;
  std::string output;
  if (FreeTemporaryPath(folder, output_path)) {
    const std::string_view interpreter_path(interpreter, interpreter_length);
    if (RunHidden(ConsoleCommandLine(interpreter_path, command, output_path), wait_ms)) {
      output = ReadWholeFile(output_path);
    }
    // Fails while a command that has not ended still holds the file; nothing else
    // can be done about that without stopping it.
    ::DeleteFileA(output_path.c_str());
  }
  return OemToAnsiText(ConsoleOutputLines(output));
}

std::string OemToAnsiText(std::string_view text) {
  std::string converted(text.size(), '\0');
  if (!text.empty()) ::OemToCharBuffA(text.data(), converted.data(), static_cast<DWORD>(text.size()));
  return converted;
}

}  // namespace orvel
