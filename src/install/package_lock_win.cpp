// The folder's lock (see package_lock_win.h).
#include "install/package_lock_win.h"

#include <sddl.h>

#include "install/folder_lock_name.h"

namespace orvel {

void TakenLockTraits::Close(Handle h) {
  ::ReleaseMutex(h);
  ::CloseHandle(h);
}

WinResult LockFolder(const std::string& final_path, FolderLock& lock) {
  if (final_path.empty()) return WinResult::Failure(ERROR_PATH_NOT_FOUND);
  // Only administrators and SYSTEM may open it: a program running as the user can
  // neither take it nor give it back.
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  if (!::ConvertStringSecurityDescriptorToSecurityDescriptorA("D:P(A;;GA;;;BA)(A;;GA;;;SY)", SDDL_REVISION_1,
                                                              &descriptor, nullptr))
    return WinResult::LastError();
  SECURITY_ATTRIBUTES attributes = {sizeof attributes, descriptor, FALSE};
  ScopedKernelHandle mutex(::CreateMutexA(&attributes, FALSE, FolderLockName(final_path).c_str()));
  const WinResult created = mutex ? WinResult() : WinResult::LastError();
  ::LocalFree(descriptor);
  if (!created) return created;
  const DWORD waited = ::WaitForSingleObject(mutex.Get(), kFolderLockWaitMs);
  if (waited != WAIT_OBJECT_0 && waited != WAIT_ABANDONED)
    return WinResult::Failure(waited == WAIT_TIMEOUT ? ERROR_TIMEOUT : ::GetLastError());
  lock.Reset(mutex.Release());
  return WinResult();
}

}  // namespace orvel
