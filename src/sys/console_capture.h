// Capture of a console command's output: the command runs through the system's own
// command interpreter (cmd.exe in the system folder) in a hidden console of its own,
// its standard output going into a temporary file that is read back and deleted.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace orvel {

// How long a console command may run before its output is given up on.
inline constexpr std::uint32_t kConsoleCommandWaitMs = 10000;

// Runs `command` and returns what it wrote, one line per output line, each followed
// by CR LF, in the ANSI code page. The temporary file is made in "Temp" (or, when
// that is not set, the current folder) under 8 random lower-case letters, new, and
// reaches the command as its standard output; "ComSpec" is not consulted.
//
// No system folder: empty, and nothing is started or written. A command that could
// not be started, wrote nothing or has not ended within `wait_ms`: "\r\n", as for an
// empty output; a command still running is left alone (its file goes when it ends).
std::string RunConsoleCommand(std::string_view command, std::uint32_t wait_ms = kConsoleCommandWaitMs);

// `text` converted from the OEM code page to the ANSI code page, byte for byte (the
// length is kept; zero bytes stay zero).
std::string OemToAnsiText(std::string_view text);

}  // namespace orvel
