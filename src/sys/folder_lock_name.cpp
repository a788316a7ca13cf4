// The lock's name (see folder_lock_name.h).
#include "sys/folder_lock_name.h"

namespace orvel {

bool IsFolderLockName(std::wstring_view entry) {
  if (entry.size() != sizeof kFolderLockName - 1) return false;
  for (std::size_t i = 0; i < entry.size(); ++i) {
    const wchar_t c = entry[i];
    if ((c >= L'A' && c <= L'Z' ? c + 32 : c) != static_cast<unsigned char>(kFolderLockName[i])) return false;
  }
  return true;
}

}  // namespace orvel
