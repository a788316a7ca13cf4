// Capture of a console command's output: the command runs through the command
// interpreter named by "ComSpec" in a hidden console of its own, its standard output
// redirected into a temporary file that is read back and deleted.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace orvel {

// How long a console command may run before its output is given up on.
inline constexpr std::uint32_t kConsoleCommandWaitMs = 10000;

// Runs `command` and returns what it wrote, one line per output line, each followed
// by CR LF, in the ANSI code page. The temporary file is "Temp" (or, when that is
// not set, the current folder) plus 8 random lower-case letters.
//
// "ComSpec" not set, or too long for a path (260 characters or more): empty, and
// nothing is started or written. A command that could not be started, wrote nothing
// or has not ended within `wait_ms`: "\r\n", as for an empty output; a command still
// running is left alone.
std::string RunConsoleCommand(std::string_view command, std::uint32_t wait_ms = kConsoleCommandWaitMs);

// `text` converted from the OEM code page to the ANSI code page, byte for byte (the
// length is kept; zero bytes stay zero).
std::string OemToAnsiText(std::string_view text);

}  // namespace orvel
