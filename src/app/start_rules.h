// Rules the installer applies at start-up, free of any Windows call: reading
// arguments from the command line, taking out the log option, and the user locales
// whose built-in messages are Russian.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace orvel {

// Argument `index` of a raw command line (0 is the program itself). Arguments are
// separated by blanks and control characters; double quotes group blanks into an
// argument and are removed. Empty when there is no such argument.
std::string CommandLineArgument(std::string_view command_line, int index);

// A raw command line with its "/log=PATH" arguments taken out.
struct LogOptionSplit {
  // The command line without them (each replaced by a blank), so that the positional
  // arguments ("modest", "runapp") are counted as if they had never been there.
  std::string arguments;
  // PATH of the last one (quotes removed, as for any argument); nullopt when the
  // command line has none. "/log=" alone asks for a log with an empty path.
  std::optional<std::string> log_path;
};

// Finds "/log=" (in any letter case) at the start of any argument but the program
// itself, anywhere on the command line.
LogOptionSplit SplitLogOption(std::string_view command_line);

// True for the seven user locales whose built-in texts are Russian (compared as a
// whole LCID, not by primary language).
bool IsRussianUiLocale(std::uint32_t lcid);

// The start mode that selects the quiet run, and the argument that then starts Orvel.
inline constexpr std::string_view kQuietStartMode = "modest";
inline constexpr std::string_view kRunAppArgument = "runapp";

}  // namespace orvel
