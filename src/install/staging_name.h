// The name under which a new file is written beside the file it will replace.
#pragma once

#include <string>
#include <string_view>

namespace orvel {

// The path with "~" put in front of its file-name part: C:\Orvel\vexa.3bs gives
// C:\Orvel\~vexa.3bs, vexa.3bs gives ~vexa.3bs. The last character is not taken as a
// separator, so C:\Games\ gives C:\~Games\ .
std::string StagingFileName(std::string_view path);

// True for `staging` + "." + eight letters (letter case aside): the name under which a
// run first makes its staging file, before it takes the staging name itself. An
// interrupted run may leave one behind.
bool IsFreshStagingName(std::string_view entry, std::string_view staging);

}  // namespace orvel
