// Console capture rules (see console_text.h).
#include "sys/console_text.h"

namespace orvel {

std::string ConsoleCommandLine(std::string_view interpreter, std::string_view command) {
  std::string line = "\"";
  line += interpreter;
  line += "\" /D /c ";
  line += command;
  return line;
}

std::string ConsoleOutputLines(std::string_view bytes) {
  constexpr char kEndOfText = '\x1A';
  const std::size_t end_of_text = bytes.find(kEndOfText);
  if (end_of_text != std::string_view::npos) bytes = bytes.substr(0, end_of_text);

  std::string lines;
  std::size_t at = 0;
  do {
    const std::size_t line_end = bytes.find_first_of("\r\n", at);
    const std::size_t stop = line_end == std::string_view::npos ? bytes.size() : line_end;
    lines.append(bytes.substr(at, stop - at));
    lines += "\r\n";
    at = stop;
    if (at < bytes.size()) {
      // CR LF is one line break; a lone CR or LF is one too.
      if (bytes[at] == '\r' && at + 1 < bytes.size() && bytes[at + 1] == '\n') ++at;
      ++at;
    }
  } while (at < bytes.size());
  return lines;
}

}  // namespace orvel
