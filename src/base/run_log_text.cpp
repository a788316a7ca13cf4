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
      const bool is_break = c == '\r' || c == '\n';
      if (!is_break) line += c;
      else if (!in_break) line += ' ';
      in_break = is_break;
    }
  }
  line += "\r\n";
  return line;
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
