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
using NtSetInformationFileFn = NTSTATUS(NTAPI*)(HANDLE, IO_STATUS_BLOCK*, void*, ULONG, FILE_INFORMATION_CLASS);
using RtlNtStatusToDosErrorFn = ULONG(NTAPI*)(NTSTATUS);

struct NativeCalls {
  NtCreateFileFn create = nullptr;
  NtSetInformationFileFn set_information = nullptr;
  RtlNtStatusToDosErrorFn dos_error = nullptr;
};

NativeCalls g_native;

const NativeCalls& Native() {
  if (g_native.create == nullptr) {
    const HMODULE ntdll = ::GetModuleHandleA("ntdll.dll");
    g_native = {EntryPoint<NtCreateFileFn>(ntdll, "NtCreateFile"),
                EntryPoint<NtSetInformationFileFn>(ntdll, "NtSetInformationFile"),
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

// `name` as a counted UTF-16 string for the native calls.
struct NativeName {
  explicit NativeName(std::string_view name) {
    const int length = ::MultiByteToWideChar(CP_ACP, 0, name.data(), static_cast<int>(name.size()), text, MAX_PATH);
    string.Length = string.MaximumLength = static_cast<USHORT>(length > 0 ? length * sizeof(WCHAR) : 0);
    string.Buffer = text;
  }
  WCHAR text[MAX_PATH];
  UNICODE_STRING string;
};

}  // namespace

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
  entry.Reset();
  if (Native().create == nullptr) return WinResult::Failure(ERROR_PROC_NOT_FOUND);
  NativeName native(name);
  OBJECT_ATTRIBUTES attributes;
  InitializeObjectAttributes(&attributes, &native.string, OBJ_CASE_INSENSITIVE, folder_.Get(), nullptr);
  IO_STATUS_BLOCK io;
  HANDLE handle = nullptr;
  const NTSTATUS status = Native().create(&handle, access | SYNCHRONIZE, &attributes, &io, nullptr,
                                          FILE_ATTRIBUTE_NORMAL, share, disposition,
                                          options | FILE_SYNCHRONOUS_IO_NONALERT, nullptr, 0);
  if (status >= 0) entry.Reset(handle);
  return FromStatus(status);
}

bool HeldFolder::HasFile(std::string_view name) const {
  ScopedFileHandle file;
  return OpenEntry(name, FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, FILE_OPEN,
                   FILE_NON_DIRECTORY_FILE, file)
      .Succeeded();
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
  rename.info.FileNameLength = native.string.Length;
  ::CopyMemory(rename.info.FileName, native.text, native.string.Length);
  IO_STATUS_BLOCK io;
  return FromStatus(Native().set_information(file, &io, &rename, sizeof rename,
                                             static_cast<FILE_INFORMATION_CLASS>(10 /* FileRenameInformation */)));
}

HeldFolder& OrvelFolder() {
  static HeldFolder folder;
  return folder;
}

}  // namespace orvel
