// The held folder (see held_folder_win.h). Names relative to a folder handle exist
// only in the native API, so its few entry points are taken from ntdll.dll, which is
// in every process, when first needed: no import library is added.
#include "sys/held_folder_win.h"

#include <winternl.h>

#include "base/file_access_win.h"

namespace orvel {

namespace {

using NtCreateFileFn = NTSTATUS(NTAPI*)(HANDLE*, ACCESS_MASK, OBJECT_ATTRIBUTES*, IO_STATUS_BLOCK*, LARGE_INTEGER*,
                                        ULONG, ULONG, ULONG, ULONG, void*, ULONG);
using NtQueryDirectoryFileFn = NTSTATUS(NTAPI*)(HANDLE, HANDLE, void*, void*, IO_STATUS_BLOCK*, void*, ULONG,
                                                FILE_INFORMATION_CLASS, BOOLEAN, UNICODE_STRING*, BOOLEAN);
using NtSetInformationFileFn = NTSTATUS(NTAPI*)(HANDLE, IO_STATUS_BLOCK*, void*, ULONG, FILE_INFORMATION_CLASS);
using RtlNtStatusToDosErrorFn = ULONG(NTAPI*)(NTSTATUS);

struct NativeCalls {
  NtCreateFileFn create = nullptr;
  NtSetInformationFileFn set_information = nullptr;
  NtQueryDirectoryFileFn query_directory = nullptr;
  RtlNtStatusToDosErrorFn dos_error = nullptr;
};

NativeCalls g_native;

const NativeCalls& Native() {
  if (g_native.create == nullptr) {
    const HMODULE ntdll = ::GetModuleHandleA("ntdll.dll");
    g_native = {EntryPoint<NtCreateFileFn>(ntdll, "NtCreateFile"),
                EntryPoint<NtSetInformationFileFn>(ntdll, "NtSetInformationFile"),
                EntryPoint<NtQueryDirectoryFileFn>(ntdll, "NtQueryDirectoryFile"),
                EntryPoint<RtlNtStatusToDosErrorFn>(ntdll, "RtlNtStatusToDosError")};
  }
  return g_native;
}

WinResult FromStatus(NTSTATUS status) {
  if (status >= 0) return WinResult();
  // Windows' own mapping makes a file still being deleted (STATUS_DELETE_PENDING) an
  // access denial; a lock whose holder just let go must be told from one that may
  // not be taken.
  if (status == static_cast<NTSTATUS>(0xC0000056)) return WinResult::Failure(ERROR_DELETE_PENDING);
  return WinResult::Failure(Native().dos_error != nullptr ? Native().dos_error(status) : ERROR_GEN_FAILURE);
}

// `name` in UTF-16 for the native calls.
struct NativeName {
  explicit NativeName(std::string_view name) {
    const int length = ::MultiByteToWideChar(CP_ACP, 0, name.data(), static_cast<int>(name.size()), text, MAX_PATH);
    view = std::wstring_view(text, length > 0 ? length : 0);
  }
  WCHAR text[MAX_PATH];
  std::wstring_view view;
};

constexpr NTSTATUS kNoMoreFiles = static_cast<NTSTATUS>(0x80000006);

}  // namespace

// One entry as NtQueryDirectoryFile lists it (FileDirectoryInformation).
struct ListedEntry {
  ULONG next;
  ULONG index;
  LARGE_INTEGER times[4];
  LARGE_INTEGER size;
  LARGE_INTEGER allocated;
  ULONG attributes;
  ULONG name_bytes;
  WCHAR name[1];
};

WinResult OpenInFolder(HANDLE folder, std::wstring_view name, ACCESS_MASK access, ULONG share, ULONG disposition,
                       ULONG options, ScopedFileHandle& entry) {
  entry.Reset();
  if (Native().create == nullptr) return WinResult::Failure(ERROR_PROC_NOT_FOUND);
  UNICODE_STRING string;
  string.Length = string.MaximumLength = static_cast<USHORT>(name.size() * sizeof(WCHAR));
  string.Buffer = const_cast<WCHAR*>(name.data());
  OBJECT_ATTRIBUTES attributes;
  InitializeObjectAttributes(&attributes, &string, OBJ_CASE_INSENSITIVE, folder, nullptr);
  IO_STATUS_BLOCK io;
  HANDLE handle = nullptr;
  const NTSTATUS status =
      Native().create(&handle, access | SYNCHRONIZE, &attributes, &io, nullptr, FILE_ATTRIBUTE_NORMAL, share,
                      disposition, options | FILE_OPEN_REPARSE_POINT | FILE_SYNCHRONOUS_IO_NONALERT, nullptr, 0);
  if (status >= 0) entry.Reset(handle);
  return FromStatus(status);
}

bool FolderListing::Next() {
  do {
    if (entry_ != nullptr && entry_->next != 0) {
      entry_ = reinterpret_cast<const ListedEntry*>(reinterpret_cast<const char*>(entry_) + entry_->next);
      continue;
    }
    if (Native().query_directory == nullptr) {
      result_ = WinResult::Failure(ERROR_PROC_NOT_FOUND);
      return false;
    }
    IO_STATUS_BLOCK io;
    // The first call starts from the folder's first entry, whatever an earlier listing
    // through the same handle left.
    const NTSTATUS status =
        Native().query_directory(folder_, nullptr, nullptr, nullptr, &io, buffer_, sizeof buffer_,
                                 static_cast<FILE_INFORMATION_CLASS>(1 /* FileDirectoryInformation */), FALSE,
                                 nullptr, restart_);
    restart_ = false;
    entry_ = reinterpret_cast<const ListedEntry*>(buffer_);
    if (status < 0) {
      if (status != kNoMoreFiles) result_ = FromStatus(status);
      entry_ = nullptr;
      return false;
    }
  } while (Name() == L"." || Name() == L"..");
  return true;
}

std::wstring_view FolderListing::Name() const { return std::wstring_view(entry_->name, entry_->name_bytes / 2); }
DWORD FolderListing::Attributes() const { return entry_->attributes; }
std::uint64_t FolderListing::Size() const { return static_cast<std::uint64_t>(entry_->size.QuadPart); }

WinResult HeldFolder::Open(const std::string& path) {
  // No delete sharing: the folder cannot be renamed or removed while it is held.
  folder_.Reset(::CreateFileA(path.c_str(), FILE_LIST_DIRECTORY | FILE_TRAVERSE | SYNCHRONIZE,
                              FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS,
                              nullptr));
  return folder_ ? WinResult() : WinResult::LastError();
}

std::string HeldFolder::FinalPath() const {
  char path[MAX_PATH * 2];
  const DWORD length = ::GetFinalPathNameByHandleA(folder_.Get(), path, sizeof path, FILE_NAME_NORMALIZED);
  return length > 0 && length < sizeof path ? std::string(path, length) : std::string();
}

WinResult HeldFolder::OpenEntry(std::string_view name, ACCESS_MASK access, ULONG share, ULONG disposition,
                                ULONG options, ScopedFileHandle& entry) const {
  const NativeName native(name);
  return OpenInFolder(folder_.Get(), native.view, access, share, disposition, options, entry);
}

DWORD HeldFolder::EntryAttributes(std::string_view name) const {
  ScopedFileHandle entry;
  BY_HANDLE_FILE_INFORMATION info;
  if (!OpenEntry(name, FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, FILE_OPEN, 0,
                 entry) ||
      !::GetFileInformationByHandle(entry.Get(), &info))
    return INVALID_FILE_ATTRIBUTES;
  return info.dwFileAttributes;
}

bool HeldFolder::HasFile(std::string_view name) const {
  const DWORD attributes = EntryAttributes(name);
  return attributes != INVALID_FILE_ATTRIBUTES &&
         !(attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT));
}

WinResult HeldFolder::MoveInto(HANDLE file, std::string_view name) const {
  if (Native().set_information == nullptr) return WinResult::Failure(ERROR_PROC_NOT_FOUND);
  NativeName native(name);
  struct {
    FILE_RENAME_INFO info;
    WCHAR name[MAX_PATH];
  } rename;
  rename.info.ReplaceIfExists = TRUE;
  rename.info.RootDirectory = folder_.Get();
  rename.info.FileNameLength = static_cast<DWORD>(native.view.size() * sizeof(WCHAR));
  ::CopyMemory(rename.info.FileName, native.text, rename.info.FileNameLength);
  IO_STATUS_BLOCK io;
  return FromStatus(Native().set_information(file, &io, &rename, sizeof rename,
                                             static_cast<FILE_INFORMATION_CLASS>(10 /* FileRenameInformation */)));
}

HeldFolder& OrvelFolder() {
  static HeldFolder folder;
  return folder;
}

}  // namespace orvel
