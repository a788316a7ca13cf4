// Rules of the console command capture, free of any Windows call: the interpreter's
// command line, and how the captured file is read back as lines.
#pragma once

#include <string>
#include <string_view>

namespace orvel {

// "`interpreter`" /D /c `command`: the interpreter's path in double quotes, so that a
// folder name with blanks cannot be taken for a program of its own, and /D, so that
// the command runs without the user's own "AutoRun" command of the interpreter.
std::string ConsoleCommandLine(std::string_view interpreter, std::string_view command);

// The captured bytes as lines, each followed by CR LF. A line ends at CR LF, at LF
// or at a lone CR; a Ctrl-Z (0x1A) ends the text. There is always at least one
// line, so no bytes at all read as "\r\n".
std::string ConsoleOutputLines(std::string_view bytes);

}  // namespace orvel
