// System-folder-only DLL loading (see system_library_win.h).
#include "sys/system_library_win.h"

#include <delayimp.h>

#include <string>

#include "base/file_access_win.h"

extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace orvel {

namespace {

// DLLs that Windows' own libraries load by bare name once a box is shown or the shell
// is asked (the common controls, the themes), where the installer's own folder may
// come first. Loaded beforehand from the system folder, they are found loaded then.
constexpr const char* kLoadedByName[] = {"dwmapi.dll", "uxtheme.dll", "msimg32.dll", "ole32.dll"};
// DLLs that Windows' own libraries load by bare name on any run, quiet ones too:
// Windows 7's advapi32 hands the random generator on to cryptbase, and bcrypt loads
// its algorithm providers. Loaded at start-up from the system folder where the
// search cannot be restricted.
constexpr const char* kLoadedByNameAtStart[] = {"cryptbase.dll", "bcryptprimitives.dll"};

}  // namespace

ScopedLibrary LoadSystemLibrary(const char* name) {
  // By its full path, whether or not the search is restricted: where Windows cannot
  // restrict it, this is what keeps the DLL and those it imports in the system folder.
  char folder[MAX_PATH];
  const UINT length = ::GetSystemDirectoryA(folder, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return ScopedLibrary();
  std::string path(folder, length);
  path += '\\';
  path += name;
  return ScopedLibrary(::LoadLibraryExA(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH));
}

void LoadLibrariesLoadedByName() {
  static bool loaded = false;
  if (loaded) return;
  loaded = true;
  // They stay loaded to the end of the process.
  for (const char* name : kLoadedByName) LoadSystemLibrary(name).Release();
}

bool RestrictDllSearch(SetDefaultDllDirectoriesFn set_directories) {
  // The current folder is no place to look for DLLs either.
  ::SetDllDirectoryA("");
  if (set_directories != nullptr && set_directories(LOAD_LIBRARY_SEARCH_SYSTEM32)) return true;
  // They stay loaded to the end of the process; one this Windows lacks is not needed.
  for (const char* name : kLoadedByNameAtStart) LoadSystemLibrary(name).Release();
  return false;
}

void RestrictDllSearchToSystemFolder() {
  RestrictDllSearch(EntryPoint<SetDefaultDllDirectoriesFn>(::GetModuleHandleA("kernel32.dll"),
                                                           "SetDefaultDllDirectories"));
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
  if (*module == nullptr) {
    // The first of these DLLs is the first step towards a box or the shell.
    orvel::LoadLibrariesLoadedByName();
    *module = orvel::LoadSystemLibrary(image + import->rvaDLLName).Release();
  }
  const auto* const slots = reinterpret_cast<const FARPROC*>(image + import->rvaIAT);
  const auto* const names = reinterpret_cast<const IMAGE_THUNK_DATA*>(image + import->rvaINT);
  const auto* const name = reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(image + names[slot - slots].u1.AddressOfData);
  const FARPROC address = *module != nullptr ? ::GetProcAddress(*module, name->Name) : nullptr;
  if (address == nullptr) ::ExitProcess(static_cast<UINT>(STATUS_ENTRYPOINT_NOT_FOUND));
  *slot = address;
  return address;
}
