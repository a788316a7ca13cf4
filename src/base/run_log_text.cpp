// Log line text (see run_log_text.h).
#include "base/run_log_text.h"

#include <cstring>

#include "base/text_rules.h"

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
    "the command line was not understood; nothing was done",
};
static_assert(sizeof kExitCodeMeanings / sizeof *kExitCodeMeanings == static_cast<int>(ExitCode::kCommandLineError) + 1,
              "one meaning per exit code");

// About 2 KiB of a line's text after its time stamp; the rest is cut with a marker,
// so that no line carries a whole text.
constexpr std::size_t kLogLineCap = 24 + 2048;
constexpr std::string_view kLogLineCut = " [line cut]";

constexpr std::string_view kShellCharacters = "&|<>^%";
constexpr char kHexDigits[] = "0123456789ABCDEF";

constexpr bool IsSeparator(char c) { return c == '\\' || c == '/'; }

// Appends `part` to `line` as the log writes it; false when the line reached its cap
// first. A line is cut between two characters, never inside the "%" form of one.
bool AppendLogText(std::string& line, std::string_view part, bool& in_break) {
  for (char c : part) {
    if (line.size() >= kLogLineCap) return false;
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
  return true;
}

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
    if (!AppendLogText(line, part, in_break)) {
      line += kLogLineCut;
      break;
    }
  }
  line += "\r\n";
  return line;
}

bool IsLocalLogPath(std::string_view path) {
  if (path.size() >= 2 && IsSeparator(path[0]) && (IsSeparator(path[1]) || path[1] == '?')) return false;
  const std::size_t colon = path.rfind(':');
  if (colon != std::string_view::npos && colon != 1) return false;
  // A device name is one in any folder and with any extension (C:\logs\nul.log is
  // NUL): the name up to its first dot, trailing blanks dropped. COM and LPT count
  // with any digit, and with the Western code page's superscripts 1 to 3, which newer
  // Windows counts too.
  static constexpr char kDevices[][8] = {"con", "prn", "aux", "nul", "conin$", "conout$", "com#", "lpt#"};
  char name[8] = {};
  std::size_t end = 0;
  std::size_t i = path.size();
  while (i > 0 && !IsSeparator(path[i - 1]) && path[i - 1] != ':') --i;
  for (; i < path.size() && path[i] != '.'; ++i) {
    if (end < sizeof name) {
      name[end++] = AsciiLower(path[i]);
    } else if (path[i] != ' ') {
      return true;  // longer than any device's name
    }
  }
  while (end > 0 && name[end - 1] == ' ') name[--end] = '\0';
  const char digit = name[3];
  if (end == 4 && ((digit >= '0' && digit <= '9') || digit == '\xb9' || digit == '\xb2' || digit == '\xb3'))
    name[3] = '#';
  for (const auto& device : kDevices)
    if (std::memcmp(device, name, sizeof name) == 0) return false;
  return true;
}

std::string ExitCodeLogText(ExitCode code) {
  const int value = static_cast<int>(code);
  std::string text = "exit code ";
  if (value >= 10) text += '1';
  text += static_cast<char>('0' + value % 10);
  text += ": ";
  text += kExitCodeMeanings[value];
  return text;
}

}  // namespace orvel
