// Rules the installer applies at start-up, free of any Windows call: reading
// arguments from the command line, the ASCII lower-casing of the start mode, and the
// user locales whose built-in messages are Russian.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace orvel {

// Argument `index` of a raw command line (0 is the program itself). Arguments are
// separated by blanks and control characters; double quotes group blanks into an
// argument and are removed. Empty when there is no such argument.
std::string CommandLineArgument(std::string_view command_line, int index);

// The ASCII letters A..Z lower-cased; every other byte unchanged.
std::string AsciiLower(std::string_view text);

// True for the seven user locales whose built-in texts are Russian (compared as a
// whole LCID, not by primary language).
bool IsRussianUiLocale(std::uint32_t lcid);

// The start mode that selects the quiet run, and the argument that then starts Orvel.
inline constexpr std::string_view kQuietStartMode = "modest";
inline constexpr std::string_view kRunAppArgument = "runapp";

}  // namespace orvel
