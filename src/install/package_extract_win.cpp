// Writing an embedded resource to disk (see package_extract.h).
#include "install/package_extract.h"

#include <windows.h>
#include <winternl.h>

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
#include "sys/held_folder_win.h"
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

// The staging file of this run, open for writing and for its own rename and delete
// (shared with no one); `name` is the name it got. It is made new under a fresh
// name, then moved over each staging entry that an interrupted run left in `folder`,
// the staging name last: a rename replaces an entry itself, never what a link there
// points to, and nothing but this run's own file is ever opened. An entry that cannot
// be replaced (a folder) stays, and the file keeps the last name it got. Without a
// fresh name from the system's generator nothing is made.
WinResult CreateStagingFile(const HeldFolder& folder, const std::string& staging, ScopedFileHandle& file,
                            std::string& name) {
  WinResult created = WinResult::Failure(ERROR_ALREADY_EXISTS);
  for (int attempt = 0; attempt < 8 && created.Code() == ERROR_ALREADY_EXISTS; ++attempt) {
    std::string letters;
    created = RandomFileName(letters);
    name = staging + '.' + letters;
    if (created)
      created = folder.OpenEntry(name, GENERIC_WRITE | DELETE, 0, FILE_CREATE, FILE_NON_DIRECTORY_FILE, file);
  }
  if (!created) return created;
  // The folder is listed through its handle. Fresh staging names are ASCII, as the
  // staging name is; the entries are only read: what is moved is this run's file.
  FolderListing listing(folder.Get());
  while (listing.Next()) {
    std::string entry;
    for (const wchar_t c : listing.Name()) entry += static_cast<char>(c < 0x80 ? c : '?');
    if (IsFreshStagingName(entry, staging) && name != entry && folder.MoveInto(file.Get(), entry)) name = entry;
  }
  if (folder.MoveInto(file.Get(), staging)) name = staging;
  return created;
}

// Moves this run's own file, open as `file`, over the entry `target` in one step, so
// the target is at every moment either the old file or the new one. A link at the
// target's name is replaced, not followed. On failure the file is deleted through its
// handle and the target is untouched.
WinResult MoveOverTarget(const HeldFolder& folder, HANDLE file, const std::string& target) {
  // Windows refuses to replace a read-only file; refuse it here too, whatever the
  // file system at hand would do. The attributes are the entry's own.
  const DWORD attributes = folder.EntryAttributes(target);
  WinResult moved = WinResult::Failure(ERROR_ACCESS_DENIED);
  if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_READONLY))
    moved = folder.MoveInto(file, target);
  if (!moved) DeleteThroughHandle(file);
  return moved;
}

// The end of the comparing mode, which reads the staging file `name` by its name and
// so needs it closed: it is opened again through the folder, as an entry (a link is
// not followed), and must still be the file this run wrote (`own`: the same file on
// the same volume), not whatever took its name meanwhile. Then it is moved over the
// target or, when `replace` is false, deleted.
WinResult FinishStaging(const HeldFolder& folder, const std::string& name, const BY_HANDLE_FILE_INFORMATION& own,
                        const std::string& target, bool replace) {
  ScopedFileHandle file;
  const WinResult opened =
      folder.OpenEntry(name, DELETE | FILE_READ_ATTRIBUTES, 0, FILE_OPEN, FILE_NON_DIRECTORY_FILE, file);
  if (!opened) return opened;
  BY_HANDLE_FILE_INFORMATION now;
  if (!::GetFileInformationByHandle(file.Get(), &now) || now.dwVolumeSerialNumber != own.dwVolumeSerialNumber ||
      now.nFileIndexLow != own.nFileIndexLow || now.nFileIndexHigh != own.nFileIndexHigh)
    return WinResult::Failure(ERROR_FILE_NOT_FOUND);
  if (replace) return MoveOverTarget(folder, file.Get(), target);
  DeleteThroughHandle(file.Get());
  return opened;
}

// Writes `bytes` as the entry `target` of `folder`: into a staging file of this run,
// which is then renamed over the target through its own handle.
WinResult ReplaceFileWith(const HeldFolder& folder, const std::string& target, const ResourceBytes& bytes) {
  ScopedFileHandle file;
  std::string name;
  WinResult result = CreateStagingFile(folder, StagingFileName(target), file, name);
  if (!result) return result;
  result = WriteAll(file.Get(), bytes);
  if (!result) {
    DeleteThroughHandle(file.Get());
    return result;
  }
  return MoveOverTarget(folder, file.Get(), target);
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

// The comparing mode for an installed file of a compared kind: `target` is the
// entry in `folder`, `target_path` its path for the readers and the messages.
bool ReplaceUnlessNewerInstalled(const HeldFolder& folder, const std::string& kind, const std::string& target_path,
                                 const std::string& target, const ResourceBytes& bytes) {
  ScopedFileHandle file;
  std::string name;
  const std::string folder_path = target_path.substr(0, target_path.size() - target.size());
  BY_HANDLE_FILE_INFORMATION own;
  WinResult written = CreateStagingFile(folder, StagingFileName(target), file, name);
  if (written) written = WriteAll(file.Get(), bytes);
  if (written && !::GetFileInformationByHandle(file.Get(), &own)) written = WinResult::LastError();
  if (!written) {
    if (file) DeleteThroughHandle(file.Get());
    return ReportInstallFailure(target_path, written);
  }
  file.Reset();  // the version readers open it by its name
  const VersionComparison versions = CompareVersions(kind, folder_path + name, target_path);
  bool allowed = true;
  if (versions.older) {
    // The question must not hide behind the topmost progress window.
    HideProgressWindow();
    allowed = UserAllowsOlderFile(target_path, versions);
  }
  const WinResult finished = FinishStaging(folder, name, own, target, allowed);
  if (allowed && !finished) return ReportInstallFailure(target_path, finished);
  if (versions.older) ShowProgressWindow(std::string(), std::string());
  return true;
}

}  // namespace

bool InstallPackageFile(const std::string& resource_name, const std::string& file_kind,
                        const std::string& target_path, const HeldFolder& folder) {
  ResourceBytes bytes;
  // A resource that cannot be found leaves the target as it was.
  if (const WinResult found = FindOwnResource(resource_name, file_kind, bytes); !found)
    return ReportInstallFailure(target_path, found);
  const std::string target = target_path.substr(target_path.rfind('\\') + 1);
  if (const WinResult replaced = ReplaceFileWith(folder, target, bytes); !replaced)
    return ReportInstallFailure(target_path, replaced);
  return true;
}

bool InstallPackageFile(const std::string& resource_name, const std::string& file_kind,
                        const std::string& target_path, bool AskIfOlder) {
  const std::size_t slash = target_path.rfind('\\');
  HeldFolder folder;
  if (WinResult opened = folder.Open(slash == std::string::npos ? "." : target_path.substr(0, slash + 1)); !opened) {
    // The folder is part of the target's path.
    if (opened.Code() == ERROR_FILE_NOT_FOUND) opened = WinResult::Failure(ERROR_PATH_NOT_FOUND);
    return ReportInstallFailure(target_path, opened);
  }
  const std::string target = target_path.substr(slash + 1);
  if (!AskIfOlder || !folder.HasFile(target) || !IsComparedKind(file_kind))
    return InstallPackageFile(resource_name, file_kind, target_path, folder);
  ResourceBytes bytes;
  if (const WinResult found = FindOwnResource(resource_name, file_kind, bytes); !found)
    return ReportInstallFailure(target_path, found);
  return ReplaceUnlessNewerInstalled(folder, file_kind, target_path, target, bytes);
}

}  // namespace orvel
