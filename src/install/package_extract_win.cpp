// Writing an embedded resource to disk (see package_extract.h).
#include "install/package_extract.h"

#include <windows.h>

#include "base/builtin_texts.h"
#include "base/decimal_text.h"
#include "base/file_access_win.h"
#include "base/message_boxes_win.h"
#include "base/program_state.h"
#include "base/run_log.h"
#include "base/scoped_handle_win.h"
#include "base/text_rules.h"
#include "base/win_result_win.h"
#include "install/staging_name.h"
#include "install/version_compare.h"
#include "install/version_question.h"
#include "install/version_readers.h"
#include "lang/language_files.h"
#include "lang/text_lookup.h"
#include "sys/console_text.h"
#include "sys/random_generator.h"
#include "ui/progress_window.h"

namespace orvel {

namespace {

// The bytes of one resource of the installer's own module, as Windows keeps them in
// memory: no copy is made.
struct ResourceBytes {
  const char* data = nullptr;
  DWORD size = 0;
};

WinResult FindOwnResource(const std::string& name, const std::string& type, ResourceBytes& bytes) {
  HMODULE module = ::GetModuleHandleA(nullptr);
  HRSRC info = ::FindResourceA(module, name.c_str(), type.c_str());
  if (info == nullptr) return WinResult::LastError();
  HGLOBAL loaded = ::LoadResource(module, info);
  if (loaded == nullptr) return WinResult::LastError();
  bytes.data = static_cast<const char*>(::LockResource(loaded));
  bytes.size = ::SizeofResource(module, info);
  return bytes.data != nullptr ? WinResult() : WinResult::Failure(ERROR_RESOURCE_DATA_NOT_FOUND);
}

// Deletes a file we wrote ourselves, also when something made it read-only. The
// error code of the failure that led here stays the thread's last error.
void DeleteOwnFile(const std::string& path) {
  const DWORD error = ::GetLastError();
  if (!::DeleteFileA(path.c_str())) {
    ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    ::DeleteFileA(path.c_str());
  }
  ::SetLastError(error);
}

// Writes all of `bytes` to `file` and through to the disk.
WinResult WriteAll(HANDLE file, const ResourceBytes& bytes) {
  DWORD offset = 0;
  while (offset < bytes.size) {
    DWORD written = 0;
    if (!::WriteFile(file, bytes.data + offset, bytes.size - offset, &written, nullptr)) return WinResult::LastError();
    if (written == 0) return WinResult::Failure(ERROR_WRITE_FAULT);
    offset += written;
  }
  return ::FlushFileBuffers(file) ? WinResult() : WinResult::LastError();
}

// Deletes the file open as `file`; the thread's last error stays that of the failure
// that led here.
void DeleteThroughHandle(HANDLE file) {
  const DWORD error = ::GetLastError();
  FILE_DISPOSITION_INFO disposition = {TRUE};
  ::SetFileInformationByHandle(file, FileDispositionInfo, &disposition, sizeof disposition);
  ::SetLastError(error);
}

// A file this run makes, new, for writing. Shared for deleting only, so that it can
// be renamed while it is open.
ScopedFileHandle CreateNewFile(const std::string& path) {
  return ScopedFileHandle(::CreateFileA(path.c_str(), GENERIC_WRITE | DELETE, FILE_SHARE_DELETE, nullptr, CREATE_NEW,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
}

// Looks at the entry at `path` itself, not at what a link there points to, and makes
// it replaceable: a read-only mark is cleared. False for a folder (not a link) and
// for an entry that cannot be looked at.
bool MakeEntryReplaceable(const std::string& path) {
  ScopedFileHandle entry(::CreateFileA(path.c_str(), FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES,
                                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                       FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  BY_HANDLE_FILE_INFORMATION info;
  if (!entry || !::GetFileInformationByHandle(entry.Get(), &info)) return false;
  const DWORD attributes = info.dwFileAttributes;
  if ((attributes & FILE_ATTRIBUTE_DIRECTORY) && !(attributes & FILE_ATTRIBUTE_REPARSE_POINT)) return false;
  if (!(attributes & FILE_ATTRIBUTE_READONLY)) return true;
  FILE_BASIC_INFO basic = {};  // times of 0 stay as they are
  basic.FileAttributes = attributes & ~FILE_ATTRIBUTE_READONLY;
  if (basic.FileAttributes == 0) basic.FileAttributes = FILE_ATTRIBUTE_NORMAL;
  return ::SetFileInformationByHandle(entry.Get(), FileBasicInfo, &basic, sizeof basic) != FALSE;
}

// The staging file of this run, created new: every byte written goes into a file this
// run made. An entry already at the staging name (the staging file of an interrupted
// run, or a link planted there) is replaced as an entry, never followed: a new file of
// this run, made beside it, is renamed over it. Renaming replaces a link itself,
// where deleting one through its name can take its target along on some file
// systems. A folder at the staging name ends the write.
ScopedFileHandle CreateStagingFile(const std::string& staging) {
  ScopedFileHandle file = CreateNewFile(staging);
  if (file || ::GetLastError() != ERROR_FILE_EXISTS || !MakeEntryReplaceable(staging)) return file;
  std::string fresh = staging + '.';
  const std::size_t name_end = fresh.size();
  for (int attempt = 0; attempt < 100 && !file; ++attempt) {
    fresh.resize(name_end);
    fresh += RandomFileName();
    file = CreateNewFile(fresh);
  }
  // The handle stays on the file under its new name.
  if (file && !::MoveFileExA(fresh.c_str(), staging.c_str(), MOVEFILE_REPLACE_EXISTING)) {
    DeleteThroughHandle(file.Get());
    file.Reset();
  }
  return file;
}

// Writes `bytes` under the staging name beside `target`. On failure nothing of this
// run is left under that name.
WinResult WriteStagingFile(const std::string& staging, const ResourceBytes& bytes) {
  ScopedFileHandle file = CreateStagingFile(staging);
  if (!file) return WinResult::LastError();
  const WinResult written = WriteAll(file.Get(), bytes);
  if (!written) DeleteThroughHandle(file.Get());
  return written;
}

// Moves the staging file over the target in one step, so the target is at every
// moment either the old file or the new one. A link at the target's name is replaced,
// not followed. On failure the staging file is gone and the target untouched.
WinResult MoveStagingOverTarget(const std::string& staging, const std::string& target) {
  // Windows refuses to replace a read-only file; refuse it here too, whatever the
  // file system at hand would do.
  const DWORD attributes = ::GetFileAttributesA(target.c_str());
  WinResult moved = WinResult::Failure(ERROR_ACCESS_DENIED);
  if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_READONLY)) {
    moved = ::MoveFileExA(staging.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)
                ? WinResult()
                : WinResult::LastError();
  }
  if (!moved) DeleteOwnFile(staging);
  return moved;
}

WinResult ReplaceFileWith(const std::string& target, const ResourceBytes& bytes) {
  const std::string staging = StagingFileName(target);
  const WinResult written = WriteStagingFile(staging, bytes);
  return written ? MoveStagingOverTarget(staging, target) : written;
}

// The one report of a failed write; the failing call's code stays the thread's last
// error for the caller.
bool ReportInstallFailure(const std::string& target, WinResult failure) {
  LogLine({"cannot write ", target, ": Win32 error ", DecimalText(failure.Code())});
  ShowFallbackError(Joined({kCantInstallFileEn, target}), Joined({kCantInstallFileRu, target}));
  ::SetLastError(failure.Code());
  return false;
}

bool IsComparedKind(const std::string& kind) {
  return kind == "pak" || kind == "3bs" || kind == "lng" || kind == "cok" || kind == "exe";
}

// What the comparison of the new (staging) file with the installed one found.
struct VersionComparison {
  bool older = false;  // the installed file is newer than the new one
  std::string new_version;
  std::string installed_version;
};

VersionComparison CompareNumbers(std::int32_t (*read)(const std::string&), const std::string& staging,
                                 const std::string& target) {
  // The new file is read first, so a language file's message about it comes first.
  const std::int32_t fresh = read(staging);
  const std::int32_t installed = read(target);
  return {installed > fresh, DecimalText(fresh), DecimalText(installed)};
}

VersionComparison CompareVersions(const std::string& kind, const std::string& staging,
                                  const std::string& target) {
  if (kind == "exe") {
    VersionComparison result;
    result.new_version = ReadExeFileVersion(staging);
    result.installed_version = ReadExeFileVersion(target);
    // An installed file without a version is replaced without asking.
    if (!result.installed_version.empty() && result.installed_version != result.new_version)
      result.older = IsOlderVersion(result.new_version, result.installed_version);
    return result;
  }
  if (kind == "pak") return CompareNumbers(ReadPakVersion, staging, target);
  if (kind == "3bs") return CompareNumbers(Read3bsVersion, staging, target);
  if (kind == "cok") return CompareNumbers(ReadCokVersion, staging, target);
  // A language file whose path holds "!" (one the language-file search passes over)
  // is replaced without comparing.
  if (target.find('!') != std::string::npos) return {};
  return CompareNumbers(ReadLngVersion, staging, target);
}

// Asks whether the older new file may replace the newer installed one. In a language
// file's words once one is in use, else in the built-in English or Russian.
bool UserAllowsOlderFile(const std::string& target, const VersionComparison& versions) {
  if (CurrentLangIndex >= 0) {
    // The language text names only the file; its own words carry no version numbers.
    return AskYesNo(LangTextBlockArgs("olderfilever", {target}), LangText("soundquest"),
                    static_cast<WORD>(LanguageId & 0xffff));
  }
  if (Program().RussianUi) {
    return AskYesNo(OlderVersionQuestionRu(target, versions.installed_version, versions.new_version),
                    std::string(kOlderQuestionCaptionRu), LANG_RUSSIAN);
  }
  return AskYesNo(OlderVersionQuestionEn(target, versions.installed_version, versions.new_version),
                  std::string(kOlderQuestionCaptionEn), 0);
}

// The comparing mode for an installed file of a compared kind.
bool ReplaceUnlessNewerInstalled(const std::string& kind, const std::string& target, const ResourceBytes& bytes) {
  const std::string staging = StagingFileName(target);
  if (const WinResult written = WriteStagingFile(staging, bytes); !written)
    return ReportInstallFailure(target, written);
  const VersionComparison versions = CompareVersions(kind, staging, target);
  if (versions.older) {
    // The question must not hide behind the topmost progress window.
    HideProgressWindow();
    const bool allowed = UserAllowsOlderFile(target, versions);
    if (!allowed) DeleteOwnFile(staging);
    if (allowed) {
      if (const WinResult moved = MoveStagingOverTarget(staging, target); !moved)
        return ReportInstallFailure(target, moved);
    }
    ShowProgressWindow(std::string(), std::string());
    return true;
  }
  if (const WinResult moved = MoveStagingOverTarget(staging, target); !moved)
    return ReportInstallFailure(target, moved);
  return true;
}

}  // namespace

bool InstallPackageFile(const std::string& resource_name, const std::string& file_kind,
                        const std::string& target_path, bool AskIfOlder) {
  ResourceBytes bytes;
  // A resource that cannot be found leaves the target as it was.
  if (const WinResult found = FindOwnResource(resource_name, file_kind, bytes); !found)
    return ReportInstallFailure(target_path, found);
  if (AskIfOlder && FileExists(target_path) && IsComparedKind(file_kind))
    return ReplaceUnlessNewerInstalled(file_kind, target_path, bytes);
  if (const WinResult replaced = ReplaceFileWith(target_path, bytes); !replaced)
    return ReportInstallFailure(target_path, replaced);
  return true;
}

}  // namespace orvel
