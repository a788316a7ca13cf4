// The run's log file (see run_log.h).
#include "base/run_log.h"

#include <windows.h>

#include "base/builtin_texts.h"
#include "base/decimal_text.h"
#include "base/message_boxes_win.h"
#include "base/program_state.h"
#include "base/run_log_text.h"
#include "base/scoped_handle_win.h"
#include "base/text_rules.h"
#include "installer_version.h"

namespace orvel {

namespace {

ScopedFileHandle LogFile;

// True when `file`'s final path, as the file system resolves it, is `path` itself
// (a file's, or a folder's with or without its final backslash): no link in any of
// its folders leads elsewhere.
bool IsFinalPathOf(HANDLE file, const std::string& path) {
  char full[MAX_PATH];
  char named[MAX_PATH];
  char final_path[MAX_PATH + 4];  // "\\?\" first
  DWORD length = ::GetFullPathNameA(path.c_str(), MAX_PATH, full, nullptr);
  if (length != 0 && length < MAX_PATH) length = ::GetLongPathNameA(full, named, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return false;
  if (length > 3 && named[length - 1] == '\\') named[length - 1] = '\0';  // a folder's, but not a drive's
  length = ::GetFinalPathNameByHandleA(file, final_path, sizeof final_path, FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
  return length > 4 && length < sizeof final_path && ::lstrcmpiA(final_path + 4, named) == 0;
}

// Opens `path` to append only: what the file already holds is never changed, and
// others may read it meanwhile. The path is the user's own choice, but the elevated
// installer writes only into the plain local file it names: a network or device path
// is refused before anything is opened (ERROR_BAD_PATHNAME); a link (at the file or
// in any folder of its path), a folder, a device or a file that has other names too
// is refused after (ERROR_CANT_ACCESS_FILE). A pipe server at the path would learn
// who opened it, but may not act as the installer.
ScopedFileHandle OpenLogFile(const std::string& path, DWORD& error) {
  if (!IsLocalLogPath(path)) {
    error = ERROR_BAD_PATHNAME;
    return ScopedFileHandle();
  }
  constexpr DWORD kFlags =
      FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT | SECURITY_SQOS_PRESENT | SECURITY_IDENTIFICATION;
  ScopedFileHandle file(
      ::CreateFileA(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_EXISTING, kFlags, nullptr));
  if (!file && ::GetLastError() == ERROR_FILE_NOT_FOUND) {
    // A new log is made only in a folder that is where it is named: through a link
    // the elevated installer would create a file wherever the link leads.
    const std::size_t end = path.find_last_of("\\/");
    const std::string folder = end == std::string::npos ? std::string(".") : path.substr(0, end + 1);
    const ScopedFileHandle parent(::CreateFileA(folder.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                                nullptr, OPEN_EXISTING, kFlags | FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (parent && !IsFinalPathOf(parent.Get(), folder)) {
      error = ERROR_CANT_ACCESS_FILE;
      return ScopedFileHandle();
    }
    file.Reset(::CreateFileA(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, CREATE_NEW, kFlags, nullptr));
  }
  BY_HANDLE_FILE_INFORMATION info;
  if (!file || !::GetFileInformationByHandle(file.Get(), &info)) {
    error = ::GetLastError();
    return ScopedFileHandle();
  }
  if (::GetFileType(file.Get()) != FILE_TYPE_DISK || info.nNumberOfLinks != 1 ||
      (info.dwFileAttributes & (FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY)) != 0 ||
      !IsFinalPathOf(file.Get(), path)) {
    error = ERROR_CANT_ACCESS_FILE;
    return ScopedFileHandle();
  }
  return file;
}

}  // namespace

void OpenRequestedLog() {
  const ProgramState& state = Program();
  if (!state.LogPath) return;
  DWORD error = 0;
  LogFile = OpenLogFile(*state.LogPath, error);
  if (!LogFile) {
    const std::string code = DecimalText(error);
    ShowFallbackError(
        Joined({kLogFileFailedEn1, *state.LogPath, kLogFileFailedEn2, code, kLogFileFailedEn3}),
        Joined({kLogFileFailedRu1, *state.LogPath, kLogFileFailedRu2, code, kLogFileFailedRu3}));
    return;
  }
  LogLine({"OrvelUpdate " ORVEL_VERSION_TEXT ", package version ", state.VersionText, ", command line: ",
           ::GetCommandLineA()});
  LogLine({"Windows: ", state.OsDescription});
  if (state.SuppressBoxesAsked && !state.QuietRun)
    LogLine({"/suppressmsgboxes changes nothing in an interactive run"});
}

void LogLine(std::initializer_list<std::string_view> parts) {
  if (!LogFile) return;
  SYSTEMTIME now;
  ::GetLocalTime(&now);
  const std::string line = LogLineText(
      LogTime{now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond, now.wMilliseconds}, parts);
  DWORD written = 0;
  ::WriteFile(LogFile.Get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
}

}  // namespace orvel
