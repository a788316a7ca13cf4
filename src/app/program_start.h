// Start-up of the shared state (base/program_state.h): what it learns from the system
// and the command line.
#pragma once

namespace orvel {

// Reads the user's locale and bitness, creates SharedRegistry, takes the options
// (/log, /suppressmsgboxes) out of the command line and reads the start mode from
// the rest.
void InitProgramState();

}  // namespace orvel
