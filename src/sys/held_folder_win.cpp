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
  return WinResult::Failure(Native().dos_error != nullptr ? Native().dos_error(status) : ERROR_GEN_FAILURE);
}

std::wstring WideName(std::string_view name) {
  std::wstring wide(name.size(), L'\0');
  const int length = ::MultiByteToWideChar(CP_ACP, 0, name.data(), static_cast<int>(name.size()), wide.data(),
                                           static_cast<int>(wide.size()));
  wide.resize(length > 0 ? static_cast<std::size_t>(length) : 0);
  return wide;
}

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
  std::wstring wide = WideName(name);
  UNICODE_STRING unicode = {static_cast<USHORT>(wide.size() * sizeof(WCHAR)),
                            static_cast<USHORT>(wide.size() * sizeof(WCHAR)), wide.data()};
  OBJECT_ATTRIBUTES attributes;
  InitializeObjectAttributes(&attributes, &unicode, OBJ_CASE_INSENSITIVE, folder_.Get(), nullptr);
  IO_STATUS_BLOCK io = {};
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
  const std::wstring wide = WideName(name);
  std::string buffer(sizeof(FILE_RENAME_INFO) + wide.size() * sizeof(WCHAR), '\0');
  auto* rename = reinterpret_cast<FILE_RENAME_INFO*>(buffer.data());
  rename->ReplaceIfExists = TRUE;
  rename->RootDirectory = folder_.Get();
  rename->FileNameLength = static_cast<DWORD>(wide.size() * sizeof(WCHAR));
  wide.copy(rename->FileName, wide.size());
  IO_STATUS_BLOCK io = {};
  return FromStatus(Native().set_information(file, &io, rename, static_cast<ULONG>(buffer.size()),
                                             static_cast<FILE_INFORMATION_CLASS>(10 /* FileRenameInformation */)));
}

std::vector<std::string> HeldFolder::EntryNames() const {
  std::vector<std::string> names;
  alignas(8) char buffer[16384];
  FILE_INFO_BY_HANDLE_CLASS kind = FileIdBothDirectoryRestartInfo;
  while (::GetFileInformationByHandleEx(folder_.Get(), kind, buffer, sizeof buffer)) {
    kind = FileIdBothDirectoryInfo;
    for (const char* at = buffer;;) {
      const auto* entry = reinterpret_cast<const FILE_ID_BOTH_DIR_INFO*>(at);
      char name[MAX_PATH * 2];
      const int length = ::WideCharToMultiByte(CP_ACP, 0, entry->FileName, static_cast<int>(entry->FileNameLength / 2),
                                               name, sizeof name, nullptr, nullptr);
      if (length > 0) names.emplace_back(name, static_cast<std::size_t>(length));
      if (entry->NextEntryOffset == 0) break;
      at += entry->NextEntryOffset;
    }
  }
  return names;
}

HeldFolder& OrvelFolder() {
  static HeldFolder folder;
  return folder;
}

void DeleteThroughHandle(HANDLE file) {
  const DWORD error = ::GetLastError();
  FILE_DISPOSITION_INFO disposition = {TRUE};
  ::SetFileInformationByHandle(file, FileDispositionInfo, &disposition, sizeof disposition);
  ::SetLastError(error);
}

}  // namespace orvel
