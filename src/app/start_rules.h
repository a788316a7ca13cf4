// Rules the installer applies at start-up, free of any Windows call: reading
// arguments from the command line, taking out the options, and the user locales
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

// A raw command line with its options ("/log=PATH", "/suppressmsgboxes") taken out.
struct CommandLineOptions {
  // The command line without them (each replaced by a blank), so that the positional
  // arguments ("modest", "runapp") are counted as if they had never been there.
  std::string arguments;
  // PATH of the last "/log=" with a full path (quotes removed, as for any argument);
  // nullopt when the command line has none.
  std::optional<std::string> log_path;
  // "/suppressmsgboxes" was given.
  bool suppress_boxes = false;
  // "/?" or "/help" was given.
  bool usage_asked = false;
  // The first argument that starts with "/" or "-" and is no option, or a "/log=" whose
  // PATH is not a full local or network path (empty, relative, "C:name"); empty when
  // every argument was understood. A run with one does nothing: a mistyped option
  // must not start an update other than the one asked for.
  std::string not_understood;
};

// Finds "/log=" at the start of, and "/suppressmsgboxes", "/?" and "/help" as, any
// argument but the program itself, anywhere on the command line, in any letter case.
CommandLineOptions SplitOptions(std::string_view command_line);

// Whether a quiet run with these arguments (options taken out) starts Orvel at its
// end: its second argument is "runapp" in any letter case. Any other second argument
// goes to `other`, so that the log can name a mistyped one.
bool RunAppAsked(std::string_view arguments, std::string& other);

// True for the seven user locales whose built-in texts are Russian (compared as a
// whole LCID, not by primary language).
bool IsRussianUiLocale(std::uint32_t lcid);

// The argument of a quiet run that then starts Orvel. (The quiet start mode itself is
// kQuietStartMode of the shared state.)
inline constexpr std::string_view kRunAppArgument = "runapp";

}  // namespace orvel
