// Start-up rules (see start_rules.h).
#include "app/start_rules.h"

#include "base/text_rules.h"
#include "sys/path_rules.h"

namespace orvel {

namespace {

// Reads the argument that starts at or after `pos` (blanks and control characters
// skipped) into `argument`, quotes removed, and leaves `pos` just after it. False
// when there is none.
bool NextArgument(std::string_view command_line, std::size_t& pos, std::string& argument) {
  const std::size_t end = command_line.size();
  while (pos < end && static_cast<unsigned char>(command_line[pos]) <= ' ') ++pos;
  if (pos >= end) return false;
  argument.clear();
  bool quoted = false;
  while (pos < end && (quoted || static_cast<unsigned char>(command_line[pos]) > ' ')) {
    if (command_line[pos] == '"') {
      quoted = !quoted;
    } else {
      argument += command_line[pos];
    }
    ++pos;
  }
  return true;
}

constexpr std::string_view kLogOption = "/log=";
constexpr std::string_view kSuppressBoxesOption = "/suppressmsgboxes";

}  // namespace

std::string CommandLineArgument(std::string_view command_line, int index) {
  std::size_t pos = 0;
  std::string argument;
  for (int current = 0; NextArgument(command_line, pos, argument); ++current) {
    if (current == index) return argument;
  }
  return std::string();
}

CommandLineOptions SplitOptions(std::string_view command_line) {
  CommandLineOptions split;
  std::size_t pos = 0;
  std::size_t kept = 0;  // command_line[kept, start) still has to be copied
  std::string argument;
  for (int index = 0;; ++index) {
    std::size_t start = pos;
    while (start < command_line.size() && static_cast<unsigned char>(command_line[start]) <= ' ') ++start;
    if (!NextArgument(command_line, pos, argument)) break;
    if (index == 0) continue;
    if (EqualsLowered(argument, kSuppressBoxesOption)) {
      split.suppress_boxes = true;
    } else if (StartsWithLowered(argument, kLogOption)) {
      // Only a full path: a relative one would put the log wherever the installer was
      // started (System32, or SysWOW64 behind it, for a SYSTEM task).
      std::string path = argument.substr(kLogOption.size());
      if (IsFullFolderPath(path)) {
        split.log_path = std::move(path);
      } else if (split.not_understood.empty()) {
        split.not_understood = argument;
      }
    } else if (argument == "/?" || EqualsLowered(argument, "/help")) {
      split.usage_asked = true;
    } else {
      if ((argument[0] == '/' || argument[0] == '-') && split.not_understood.empty()) split.not_understood = argument;
      continue;
    }
    split.arguments.append(command_line.substr(kept, start - kept));
    split.arguments += ' ';
    kept = pos;
  }
  split.arguments.append(command_line.substr(kept));
  return split;
}

bool RunAppAsked(std::string_view arguments, std::string& other) {
  other = CommandLineArgument(arguments, 2);
  const bool asked = AsciiLower(other) == kRunAppArgument;
  if (asked) other.clear();
  return asked;
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
