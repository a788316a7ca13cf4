// Loading of system DLLs that are not loaded at start-up (version.dll, bcrypt.dll, and
// the delay-loaded user32, gdi32, shell32 and ole32). They are taken from the system
// folder only, never from the installer's own folder, so a DLL planted beside the
// installer is not loaded into an elevated process.
#pragma once

#include "base/scoped_handle_win.h"

namespace orvel {

// Loads `name` (a bare file name such as "version.dll") from the system folder.
// Invalid when it cannot be loaded.
ScopedLibrary LoadSystemLibrary(const char* name);

// Restricts the DLL search of this process to the system folder. Called first thing
// in the entry; a Windows without the call (before the 2011 updates) is left as is.
void RestrictDllSearchToSystemFolder();

}  // namespace orvel
