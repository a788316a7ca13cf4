// Small file and module helpers that several layers share: whether a file is there,
// deleting a file through its handle, reading until a buffer is full, and an entry
// point of a loaded DLL.
#pragma once

#include <windows.h>

#include <string>

namespace orvel {

// True when `path` names an existing file (not a folder).
bool FileExists(const std::string& path);

// Deletes the file open as `file` (opened with DELETE access) as soon as its last
// handle closes. The thread's last error stays that of the failure that led here.
void DeleteThroughHandle(HANDLE file);

// Reads from the current position until `size` bytes are in `buffer` or the file
// ends; `filled` is the count read. False when a read fails.
bool ReadUpTo(HANDLE file, void* buffer, DWORD size, DWORD& filled);

// The entry point `name` of `module` as the function type `Fn`; nullptr when the
// module lacks it (or is null).
template <typename Fn>
Fn EntryPoint(HMODULE module, const char* name) {
  if (module == nullptr) return nullptr;
  return reinterpret_cast<Fn>(reinterpret_cast<void*>(::GetProcAddress(module, name)));
}

}  // namespace orvel
