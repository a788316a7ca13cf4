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
  const auto is_letter = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); };
  if (path.size() >= 3 && is_letter(path[0]) && path[1] == ':' && path[2] == '\\') return true;
  if (path.size() < 2 || path[0] != '\\' || path[1] != '\\') return false;
  const std::string_view rest = path.substr(2);
  const std::size_t server_end = rest.find('\\');
  if (server_end == 0 || server_end == std::string_view::npos) return false;
  const std::string_view server = rest.substr(0, server_end);
  if (server == "." || server == "?") return false;
  const std::string_view share = rest.substr(server_end + 1);
  return !share.empty() && share.front() != '\\';
}

}  // namespace orvel
