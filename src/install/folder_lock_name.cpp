// Lock names (see folder_lock_name.h).
#include "install/folder_lock_name.h"

#include <cstdint>

namespace orvel {

std::string FolderLockName(std::string_view final_path) {
  std::uint32_t hash = 2166136261u;  // 32-bit FNV-1a
  for (const char c : final_path) {
    hash ^= static_cast<unsigned char>(c >= 'a' && c <= 'z' ? c - 32 : c);
    hash *= 16777619u;
  }
  char name[] = "Global\\OrvelUpdate-00000000";
  for (char* digit = name + sizeof name - 2; hash != 0; hash >>= 4) *digit-- = "0123456789abcdef"[hash & 15];
  return name;
}

}  // namespace orvel
