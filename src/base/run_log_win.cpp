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

// Opens `path` to append only: what the file already holds is never changed, and
// others may read it meanwhile. The path is the user's own choice, but the elevated
// installer writes only into the plain file it names: a link, a folder, a device or
// a file that has other names too is refused (ERROR_CANT_ACCESS_FILE).
ScopedFileHandle OpenLogFile(const std::string& path, DWORD& error) {
  ScopedFileHandle file(::CreateFileA(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
  BY_HANDLE_FILE_INFORMATION info;
  if (!file || !::GetFileInformationByHandle(file.Get(), &info)) {
    error = ::GetLastError();
    return ScopedFileHandle();
  }
  if (::GetFileType(file.Get()) != FILE_TYPE_DISK || info.nNumberOfLinks != 1 ||
      (info.dwFileAttributes & (FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY)) != 0) {
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
