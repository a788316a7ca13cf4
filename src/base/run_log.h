// The log an administrator asks for with /log=PATH: plain-text lines, each with the
// local time to the millisecond (see run_log_text.h), appended to PATH. Without the
// option nothing is written: an elevated process writes no file the user did not ask
// for.
#pragma once

#include <initializer_list>
#include <string_view>

namespace orvel {

// Opens the log the command line asked for (ProgramState::LogPath), if it did, and
// writes the run's first lines: the installer's version, the command line and the
// description of Windows. A log that cannot be opened is reported once, by a
// built-in message, and the run goes on without it; where no box can say so, false:
// the run must end before it does anything, or its outcome would be known to nobody.
bool OpenRequestedLog();

// Appends `parts`, joined, as one line; does nothing when no log is open. (Parts
// rather than one string: the callers build no temporary strings to join them.)
void LogLine(std::initializer_list<std::string_view> parts);

// "yes" or "no", for answers and flags in log lines.
inline const char* YesNo(bool yes) { return yes ? "yes" : "no"; }

}  // namespace orvel
