// Log line text (see run_log_text.h).
#include "base/run_log_text.h"

namespace orvel {

namespace {

void AppendNumber(std::string& out, int value, int digits) {
  char text[8];
  for (int i = digits - 1; i >= 0; --i) {
    text[i] = static_cast<char>('0' + value % 10);
    value /= 10;
  }
  out.append(text, static_cast<std::size_t>(digits));
}

constexpr const char* kExitCodeMeanings[] = {
    "the package was written",
    "the user declined",
    "Orvel is not installed in the folder found",
    "the user has no administrator rights",
    "Orvel's language files are missing or broken",
    "the installer is damaged or cannot read itself",
    "the installed package stayed locked by another program",
    "the package could not be written; the installed one is unchanged",
    "the registry could not be read or written",
    "the process ran out of memory",
};
static_assert(sizeof kExitCodeMeanings / sizeof *kExitCodeMeanings == static_cast<int>(ExitCode::kOutOfMemory) + 1,
              "one meaning per exit code");

constexpr std::string_view kShellCharacters = "&|<>^%";
constexpr char kHexDigits[] = "0123456789ABCDEF";

constexpr bool IsSeparator(char c) { return c == '\\' || c == '/'; }

}  // namespace

std::string LogLineText(const LogTime& time, std::initializer_list<std::string_view> parts) {
  const int fields[] = {time.year, time.month, time.day, time.hour, time.minute, time.second, time.millisecond};
  static constexpr int kDigits[] = {4, 2, 2, 2, 2, 2, 3};
  static constexpr char kAfter[] = "-- ::. ";
  std::string line;
  for (int i = 0; i < 7; ++i) {
    AppendNumber(line, fields[i], kDigits[i]);
    line += kAfter[i];
  }
  bool in_break = false;
  for (std::string_view part : parts) {
    for (char c : part) {
      const auto byte = static_cast<unsigned char>(c);
      const bool is_break = c == '\r' || c == '\n';
      if (is_break) {
        if (!in_break) line += ' ';
      } else if (byte < ' ' || byte == 0x7f || kShellCharacters.find(c) != std::string_view::npos) {
        const char hex[] = {'%', kHexDigits[byte >> 4], kHexDigits[byte & 15]};
        line.append(hex, 3);
      } else {
        line += c;
      }
      in_break = is_break;
    }
  }
  line += "\r\n";
  return line;
}

bool IsLocalLogPath(std::string_view path) {
  if (path.size() >= 2 && IsSeparator(path[0]) && (IsSeparator(path[1]) || path[1] == '?')) return false;
  const std::size_t colon = path.rfind(':');
  return colon == std::string_view::npos || colon == 1;
}

std::string ExitCodeLogText(ExitCode code) {
  const int value = static_cast<int>(code);
  std::string text = "exit code ";
  text += static_cast<char>('0' + value);
  text += ": ";
  text += kExitCodeMeanings[value];
  return text;
}

}  // namespace orvel
