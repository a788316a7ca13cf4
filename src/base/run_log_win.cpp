// The run's log file (see run_log.h).
#include "base/run_log.h"

#include <windows.h>

#include "base/builtin_texts.h"
#include "base/decimal_text.h"
#include "base/file_access_win.h"
#include "base/message_boxes_win.h"
#include "base/program_state.h"
#include "base/run_log_text.h"
#include "base/scoped_handle_win.h"
#include "base/text_rules.h"
#include "installer_version.h"

namespace orvel {

namespace {

ScopedFileHandle LogFile;

// True when `file`'s final path, as the file system resolves it, is `path` itself:
// no link in any of its folders leads elsewhere.
bool IsFinalPathOf(HANDLE file, const std::string& path) {
  char full[MAX_PATH];
  char named[MAX_PATH];
  char final_path[MAX_PATH + 4];  // "\\?\" first
  DWORD length = ::GetFullPathNameA(path.c_str(), MAX_PATH, full, nullptr);
  if (length != 0 && length < MAX_PATH) length = ::GetLongPathNameA(full, named, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return false;
  length = ::GetFinalPathNameByHandleA(file, final_path, sizeof final_path, FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
  return length > 4 && length < sizeof final_path && ::lstrcmpiA(final_path + 4, named) == 0;
}

ScopedFileHandle OpenForAppending(const std::string& path, DWORD more_access, DWORD disposition) {
  return ScopedFileHandle(::CreateFileA(path.c_str(), FILE_APPEND_DATA | more_access, FILE_SHARE_READ, nullptr,
                                        disposition,
                                        FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT | SECURITY_SQOS_PRESENT |
                                            SECURITY_IDENTIFICATION,
                                        nullptr));
}

// True when `file` is a plain disk file with one name, reached at `path` through no
// link. Else false, with the thread's last error set.
bool IsPlainFileAt(HANDLE file, const std::string& path) {
  BY_HANDLE_FILE_INFORMATION info;
  if (!::GetFileInformationByHandle(file, &info)) return false;
  if (::GetFileType(file) == FILE_TYPE_DISK && info.nNumberOfLinks == 1 &&
      (info.dwFileAttributes & (FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY)) == 0 &&
      IsFinalPathOf(file, path))
    return true;
  ::SetLastError(ERROR_CANT_ACCESS_FILE);
  return false;
}

// Opens `path` to append only: what the file already holds is never changed, and
// others may read it meanwhile. The path is the user's own choice, but the elevated
// installer writes only into the plain local file it names: a network or device path
// is refused before anything is opened (ERROR_BAD_PATHNAME); a link (at the file or
// in any folder of its path), a folder, a device or a file that has other names too
// is refused after (ERROR_CANT_ACCESS_FILE), and a file this open made there goes
// again. A pipe server at the path would learn who opened it, but may not act as the
// installer.
ScopedFileHandle OpenLogFile(const std::string& path, DWORD& error) {
  if (!IsLocalLogPath(path)) {
    error = ERROR_BAD_PATHNAME;
    return ScopedFileHandle();
  }
  // A new file is made with the right to delete it, checked, and closed again; the
  // log itself is opened without that right, so that readers need not allow deleting.
  ScopedFileHandle file = OpenForAppending(path, DELETE, CREATE_NEW);
  const bool made = static_cast<bool>(file);
  if (made && !IsPlainFileAt(file.Get(), path)) {
    DeleteThroughHandle(file.Get());
    file.Reset();
  } else if (made || ::GetLastError() == ERROR_FILE_EXISTS) {
    file.Reset();
    file = OpenForAppending(path, 0, OPEN_EXISTING);
    if (file && !IsPlainFileAt(file.Get(), path)) file.Reset();
  }
  if (!file) error = ::GetLastError();
  return file;
}

}  // namespace

bool OpenRequestedLog() {
  const ProgramState& state = Program();
  if (!state.LogPath) return true;
  DWORD error = 0;
  LogFile = OpenLogFile(*state.LogPath, error);
  if (!LogFile) {
    const std::string code = DecimalText(error);
    ShowFallbackError(
        Joined({kLogFileFailedEn1, *state.LogPath, kLogFileFailedEn2, code, kLogFileFailedEn3}),
        Joined({kLogFileFailedRu1, *state.LogPath, kLogFileFailedRu2, code, kLogFileFailedRu3}));
    return BoxesShown();
  }
  LogLine({"OrvelUpdate " ORVEL_VERSION_TEXT ", package version ", state.VersionText, ", command line: ",
           ::GetCommandLineA()});
  LogLine({"Windows: ", state.OsDescription});
  if (state.SuppressBoxesAsked && !state.QuietRun && state.NotUnderstood.empty())
    LogLine({"/suppressmsgboxes changes nothing in an interactive run"});
  return true;
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
