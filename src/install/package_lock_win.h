// One writer at a time in Orvel's folder: copies of the installer that update the
// same folder (a double click, Orvel starting a quiet update while the user runs one)
// take turns to close Orvel, write the package, move it into place and record the
// size.
#pragma once

#include <windows.h>

#include "base/scoped_handle_win.h"
#include "base/win_result_win.h"

namespace orvel {

class HeldFolder;

// How long a copy waits for another one that holds the lock, and how often it tries.
inline constexpr DWORD kFolderLockWaitMs = 60000;
inline constexpr DWORD kFolderLockRetryMs = 50;

// Takes the lock of the held `folder`: its entry kFolderLockName, opened (made when
// missing) through the folder's handle with no sharing, as an entry (a link there is
// not followed), and deleted when `lock` closes, which the system does for a copy that
// is killed too. So only those who may make files in the folder can take the lock,
// no name outside the folder is involved, and a file that a power cut left behind is
// simply taken over. While another copy holds it (a sharing violation, or its file
// still being deleted) the log says at once that this copy waits; it tries again every
// kFolderLockRetryMs, up to kFolderLockWaitMs, and logs how long it waited.
// ERROR_TIMEOUT when another copy held it all the while; any other failure with the
// code of the open that failed.
WinResult LockFolder(const HeldFolder& folder, ScopedFileHandle& lock);

}  // namespace orvel
