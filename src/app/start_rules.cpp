// Start-up rules (see start_rules.h).
#include "app/start_rules.h"

namespace orvel {

std::string CommandLineArgument(std::string_view command_line, int index) {
  std::size_t pos = 0;
  const std::size_t end = command_line.size();
  for (int current = 0;; ++current) {
    while (pos < end && static_cast<unsigned char>(command_line[pos]) <= ' ') ++pos;
    if (pos >= end) return std::string();
    std::string argument;
    bool quoted = false;
    while (pos < end && (quoted || static_cast<unsigned char>(command_line[pos]) > ' ')) {
      if (command_line[pos] == '"') {
        quoted = !quoted;
      } else {
        argument += command_line[pos];
      }
      ++pos;
    }
    if (current == index) return argument;
  }
}

std::string AsciiLower(std::string_view text) {
  std::string result(text);
  for (char& c : result) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return result;
}

bool IsRussianUiLocale(std::uint32_t lcid) {
  switch (lcid) {
    case 1026:  // Bulgarian (Bulgaria)
    case 1049:  // Russian (Russia)
    case 1058:  // Ukrainian (Ukraine)
    case 1059:  // Belarusian (Belarus)
    case 1087:  // Kazakh (Kazakhstan)
    case 1092:  // Tatar (Russia)
    case 2073:  // Russian (Moldova)
      return true;
    default:
      return false;
  }
}

}  // namespace orvel
