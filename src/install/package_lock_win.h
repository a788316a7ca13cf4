// One writer at a time in Orvel's folder: copies of the installer that update the
// same folder (a double click, Orvel starting a quiet update while the user runs one)
// take turns to write the package, move it into place and record the size.
#pragma once

#include <windows.h>

#include <string>

#include "base/scoped_handle_win.h"
#include "base/win_result_win.h"

namespace orvel {

// A lock this copy holds, given back when its owner ends.
struct TakenLockTraits {
  using Handle = HANDLE;
  static Handle Invalid() { return nullptr; }
  static bool IsValid(Handle h) { return h != nullptr; }
  static void Close(Handle h);
};
using FolderLock = ScopedHandle<TakenLockTraits>;

// How long a copy waits for another one that holds the lock.
inline constexpr DWORD kFolderLockWaitMs = 60000;

// Takes the lock of the folder whose final path (from a handle of it) is
// `final_path`, waiting up to kFolderLockWaitMs for a copy that holds it; a lock whose
// owner ended without giving it back (killed) counts as taken. The lock is a mutex
// named after that path that only administrators and SYSTEM may open. ERROR_TIMEOUT
// when another copy held it all the while.
WinResult LockFolder(const std::string& final_path, FolderLock& lock);

}  // namespace orvel
