// One update of Orvel from start to end: find Orvel, check the user's rights and the
// installer, ask, write the package, record the installation's size, offer to start
// Orvel.
#pragma once

#include <cstdint>
#include <string>

#include "app/exit_code.h"

namespace orvel {

// The embedded package, fixed by the entry before the run.
extern std::string PackageKey;       // language key of the package's display name
extern std::string PackageFileName;  // the package's file name in Orvel's folder
extern std::int32_t PackageVersion;  // version of the embedded package

// Walks one update; every failure on the way has shown its one message.
ExitCode RunUpdate();

}  // namespace orvel
