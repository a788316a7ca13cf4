// The folder's lock (see package_lock_win.h).
#include "install/package_lock_win.h"

#include <winternl.h>

#include "base/decimal_text.h"
#include "base/run_log.h"
#include "sys/folder_lock_name.h"
#include "sys/held_folder_win.h"

namespace orvel {

WinResult LockFolder(const HeldFolder& folder, ScopedFileHandle& lock) {
  const DWORD start = ::GetTickCount();
  for (bool waiting = false;; waiting = true) {
    const WinResult taken =
        folder.OpenEntry(kFolderLockName, DELETE, 0, FILE_OPEN_IF,
                         FILE_NON_DIRECTORY_FILE | FILE_OPEN_REPARSE_POINT | FILE_DELETE_ON_CLOSE, lock);
    const DWORD waited = ::GetTickCount() - start;
    const bool held = taken.Code() == ERROR_SHARING_VIOLATION || taken.Code() == ERROR_DELETE_PENDING;
    if (!held || waited >= kFolderLockWaitMs) {
      if (waiting)
        LogLine({"waited ", DecimalText(waited), held ? " ms for the other copy, in vain" : " ms for the other copy"});
      return held ? WinResult::Failure(ERROR_TIMEOUT) : taken;
    }
    if (!waiting) LogLine({"another copy of the installer holds Orvel's folder: waiting for it, a minute at most"});
    ::Sleep(kFolderLockRetryMs);
  }
}

}  // namespace orvel
