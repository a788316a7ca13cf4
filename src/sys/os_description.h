// The description of the running Windows (release, edition, service pack, bitness),
// worked out once at start-up. What the installer needs from it is the bitness:
// on 64-bit Windows the registry is used in its 64-bit view.
#pragma once

#include <string>

#include "sys/os_description_rules.h"

namespace orvel {

// Names the running Windows, for example "Windows 10 Pro 64-bit" or "Microsoft
// Windows XP Professional Service Pack 3"; "unknown" when Windows does not say
// which version it is. A named Windows sets Program().OsIs64Bit (the text contains
// " 64") and OsIsServer() (it contains "Server"); "unknown" leaves both as they were.
std::string DescribeOperatingSystem();

// Whether the last description named a server edition. False until described.
bool OsIsServer();

// The parts of the running Windows' name, from the live system; false when the
// version cannot be read or the platform is neither NT nor 9x.
bool NameWindowsVersion(WindowsName& name);

}  // namespace orvel
