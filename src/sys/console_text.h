// Rules of the console command capture, free of any Windows call: the temporary
// file's name, the command line that redirects into it, and how the captured file
// is read back as lines.
#pragma once

#include <string>
#include <string_view>

#include "sys/random_generator.h"

namespace orvel {

// A file name of exactly 8 letters "a".."z", each drawn below 26 from `generator`.
std::string TemporaryFileName(RandomGenerator& generator);

// `interpreter` /c `command` > "`output_path`": the interpreter path as it stands
// (unquoted, as "ComSpec" holds it), the output path in double quotes.
std::string ConsoleCommandLine(std::string_view interpreter, std::string_view command,
                               std::string_view output_path);

// The captured bytes as lines, each followed by CR LF. A line ends at CR LF, at LF
// or at a lone CR; a Ctrl-Z (0x1A) ends the text. There is always at least one
// line, so no bytes at all read as "\r\n".
std::string ConsoleOutputLines(std::string_view bytes);

}  // namespace orvel
