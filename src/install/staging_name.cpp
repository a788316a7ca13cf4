// Staging names (see staging_name.h).
#include "install/staging_name.h"

namespace orvel {

std::string StagingFileName(std::string_view path) {
  // The file-name part starts after the last backslash before the last character.
  std::size_t name_start = 0;
  for (std::size_t i = path.size() >= 2 ? path.size() - 1 : 0; i-- > 0;) {
    if (path[i] == '\\') {
      name_start = i + 1;
      break;
    }
  }
  std::string result(path.substr(0, name_start));
  result += '~';
  result += path.substr(name_start);
  return result;
}

bool IsFreshStagingName(std::string_view entry, std::string_view staging) {
  constexpr std::size_t kSuffix = 9;  // "." and eight letters
  if (entry.size() != staging.size() + kSuffix || entry[staging.size()] != '.') return false;
  for (std::size_t i = 0; i < entry.size(); ++i) {
    const char lower = static_cast<char>(entry[i] | 0x20);
    if (i < staging.size() ? lower != static_cast<char>(staging[i] | 0x20)
                           : i > staging.size() && (lower < 'a' || lower > 'z'))
      return false;
  }
  return true;
}

}  // namespace orvel
