// One update of Orvel from start to end: find Orvel, check the user's rights and the
// installer, ask, write the package, record the installation's size, offer to start
// Orvel.
#pragma once

#include <cstdint>
#include <string>

#include "base/exit_code.h"
#include "sys/install_locations.h"

namespace orvel {

// The embedded package, fixed by the entry before the run.
extern std::string PackageKey;       // language key of the package's display name
extern std::string PackageFileName;  // the package's file name in Orvel's folder
extern std::int32_t PackageVersion;  // version of the embedded package

// Fills the install locations and UserIsAdmin; false after it has shown its message.
using LocationFinder = bool (*)();

// Walks one update; every failure on the way has shown its one message. The run
// learns where Orvel is and whether the user is an administrator from
// `find_locations`: this machine's answer unless a caller (a test) asks another.
ExitCode RunUpdate(LocationFinder find_locations = FindInstallLocations);

}  // namespace orvel
