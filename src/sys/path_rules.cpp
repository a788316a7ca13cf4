// Path rules (see path_rules.h).
#include "sys/path_rules.h"

namespace orvel {

void EnsureTrailingBackslash(std::string& path) {
  if (!path.empty() && path.back() != '\\') path += '\\';
}

std::string UninstallStringFolder(std::string_view uninstall_string) {
  std::string_view text = uninstall_string;
  if (!text.empty() && text.front() == '"') {
    text.remove_prefix(1);
    const std::size_t closing = text.find('"');
    if (closing != std::string_view::npos) text = text.substr(0, closing);
  }
  if (text.size() < 2) return std::string();
  // The last character is never examined.
  for (std::size_t i = text.size() - 1; i-- > 0;) {
    if (text[i] == '\\') return std::string(text.substr(0, i + 1));
  }
  return std::string();
}

std::string Wow64KeyPath(std::string_view key_path) {
  std::string result(key_path);
  const std::size_t slash = result.find('\\');
  if (slash != std::string::npos) result.insert(slash + 1, "WOW6432Node\\");
  return result;
}

bool IsFullFolderPath(std::string_view path) {
  if (path.size() >= 3 && path[1] == ':' && path[2] == '\\') {
    const char letter = static_cast<char>(path[0] | 0x20);
    return letter >= 'a' && letter <= 'z';
  }
  // \\server\share: the server's name does not begin with "." or "?" (device paths)
  // and ends at a backslash that a share name follows.
  if (path.size() < 5 || path[0] != '\\' || path[1] != '\\' || path[2] == '.' || path[2] == '?' ||
      path[2] == '\\')
    return false;
  const std::size_t share = path.find('\\', 3) + 1;  // 0 when there is none
  return share != 0 && share < path.size() && path[share] != '\\';
}

}  // namespace orvel
