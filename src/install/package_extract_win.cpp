// Writing an embedded resource to disk: the staging file and the direct mode (see
// package_extract.h and package_staging_win.h).
#include "install/package_extract.h"
#include "install/package_staging_win.h"

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
#include "sys/console_text.h"
#include "sys/held_folder_win.h"
#include "sys/random_generator.h"

namespace orvel {

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

namespace {

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

}  // namespace

// The one report of a failed write; the failing call's code stays the thread's last
// error for the caller.
bool ReportInstallFailure(const std::string& target, WinResult failure) {
  LogLine({"cannot write ", target, ": Win32 error ", DecimalText(failure.Code())});
  ShowFallbackError(Joined({kCantInstallFileEn, target}), Joined({kCantInstallFileRu, target}));
  ::SetLastError(failure.Code());
  return false;
}

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

}  // namespace orvel
