// System-folder-only DLL loading (see system_library_win.h).
#include "sys/system_library_win.h"

#include <delayimp.h>

#include <string>

#include "base/file_access_win.h"

extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace orvel {

ScopedLibrary LoadSystemLibrary(const char* name) {
  HMODULE module = ::LoadLibraryExA(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
  if (module == nullptr) {
    // Windows without the search flags: name the system folder explicitly.
    char folder[MAX_PATH];
    const UINT length = ::GetSystemDirectoryA(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return ScopedLibrary();
    std::string path(folder, length);
    path += '\\';
    path += name;
    module = ::LoadLibraryExA(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
  }
  return ScopedLibrary(module);
}

void RestrictDllSearchToSystemFolder() {
  using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
  HMODULE kernel = ::GetModuleHandleA("kernel32.dll");
  if (kernel == nullptr) return;
  auto set_directories = EntryPoint<SetDefaultDllDirectoriesFn>(kernel, "SetDefaultDllDirectories");
  if (set_directories != nullptr) set_directories(LOAD_LIBRARY_SEARCH_SYSTEM32);
  // The current directory is no place to look for DLLs either.
  ::SetDllDirectoryA("");
}

}  // namespace orvel

// The runtime's delay-load helper, replaced: the thunks of the delay-loaded DLLs
// (cmake/delay_load.cmake) call it on the first call of each function. It loads the
// DLL from the system folder once, looks the function up by the name in the import's
// name table (the import libraries made there import by name only), puts it into the
// import's address slot (later calls go there straight) and returns it. Two threads
// meeting here load and write the same. Where a DLL or function is missing, the
// process ends as Windows ends one whose plain import is missing. (The runtime's own
// helper also offers hooks and unloading, which nothing here uses, at the price of
// more code.)
extern "C" __attribute__((used, externally_visible)) FARPROC WINAPI __delayLoadHelper2(PCImgDelayDescr import,
                                                                                   FARPROC* slot) {
  const auto image = reinterpret_cast<const char*>(&__ImageBase);
  auto* const module = reinterpret_cast<HMODULE*>(const_cast<char*>(image) + import->rvaHmod);
  if (*module == nullptr) *module = orvel::LoadSystemLibrary(image + import->rvaDLLName).Release();
  const auto* const slots = reinterpret_cast<const FARPROC*>(image + import->rvaIAT);
  const auto* const names = reinterpret_cast<const IMAGE_THUNK_DATA*>(image + import->rvaINT);
  const auto* const name = reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(image + names[slot - slots].u1.AddressOfData);
  const FARPROC address = *module != nullptr ? ::GetProcAddress(*module, name->Name) : nullptr;
  if (address == nullptr) ::ExitProcess(static_cast<UINT>(STATUS_ENTRYPOINT_NOT_FOUND));
  *slot = address;
  return address;
}
