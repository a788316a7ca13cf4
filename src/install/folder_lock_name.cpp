// Lock names (see folder_lock_name.h).
#include "install/folder_lock_name.h"

#include <cstdint>

namespace orvel {

std::string FolderLockName(std::string_view final_path) {
  std::uint64_t hash = 14695981039346656037u;  // 64-bit FNV-1a
  for (const char c : final_path) {
    hash ^= static_cast<unsigned char>(c >= 'a' && c <= 'z' ? c - 32 : c);
    hash *= 1099511628211u;
  }
  std::string name = "Global\\OrvelUpdate-";
  for (int shift = 60; shift >= 0; shift -= 4) name += "0123456789abcdef"[(hash >> shift) & 15];
  return name;
}

}  // namespace orvel
