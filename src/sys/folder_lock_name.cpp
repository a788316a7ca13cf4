// The lock's name (see folder_lock_name.h).
#include "sys/folder_lock_name.h"

#include "base/text_rules.h"

namespace orvel {

bool IsFolderLockName(std::string_view entry) {
  return entry.size() == sizeof kFolderLockName - 1 && StartsWithLowered(entry, kFolderLockName);
}

}  // namespace orvel
