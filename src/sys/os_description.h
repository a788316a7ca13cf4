// The description of the running Windows (release, edition, service pack, bitness).
#pragma once

#include <string>

namespace orvel {

// Names the running Windows and, as a side effect, sets Program().OsIs64Bit.
std::string DescribeOperatingSystem();

}  // namespace orvel
