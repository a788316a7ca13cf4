// Loading of system DLLs that are not loaded at start-up (version.dll, bcrypt.dll, and
// the delay-loaded user32, gdi32, shell32 and ole32). They are taken from the system
// folder only, never from the installer's own folder, so a DLL planted beside the
// installer is not loaded into an elevated process.
#pragma once

#include "base/scoped_handle_win.h"

namespace orvel {

// Loads `name` (a bare file name such as "version.dll") by its full path in the
// system folder. Invalid when it cannot be loaded.
ScopedLibrary LoadSystemLibrary(const char* name);

// Loads, once, from the system folder the DLLs that Windows' own libraries load by
// bare name when a box is shown or the shell is asked, so that none of them can come
// from the installer's folder. Called before the first delay-loaded DLL is loaded.
void LoadLibrariesLoadedByName();

using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);

// Restricts the DLL search of this process to the system folder through
// `set_directories` (kernel32's SetDefaultDllDirectories), and takes the current
// folder out of it in any case. True when the search is restricted. A Windows without
// the call (Vista and 7 before their 2011 update) runs on: every DLL the installer
// loads is named by its full path, those that Windows' libraries load by name on any
// run (the random generator's cryptbase, bcrypt's providers) are loaded so from the
// system folder here, and those they load for a box or the shell before the first
// one (LoadLibrariesLoadedByName).
bool RestrictDllSearch(SetDefaultDllDirectoriesFn set_directories);

// The same with the running Windows' own SetDefaultDllDirectories, if it has one.
// Called first thing in the entry.
void RestrictDllSearchToSystemFolder();

}  // namespace orvel
