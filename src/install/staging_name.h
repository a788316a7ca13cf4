// The name under which a new file is written beside the file it will replace.
#pragma once

#include <string>
#include <string_view>

namespace orvel {

// The path with "~" put in front of its file-name part: C:\Orvel\vexa.3bs gives
// C:\Orvel\~vexa.3bs, vexa.3bs gives ~vexa.3bs. The last character is not taken as a
// separator, so C:\Games\ gives C:\~Games\ .
std::string StagingFileName(std::string_view path);

}  // namespace orvel
