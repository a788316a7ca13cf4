// Staging names (see staging_name.h).
#include "install/staging_name.h"

namespace orvel {

std::string StagingFileName(std::string_view path) {
  std::string result(path);
  if (result.size() >= 2) {
    for (std::size_t i = result.size() - 1; i-- > 0;) {
      if (result[i] == '\\') {
        result.insert(i + 1, "~");
        return result;
      }
    }
  }
  result.insert(0, "~");
  return result;
}

}  // namespace orvel
