// Temporary: only the bitness is worked out, from the process and IsWow64Process;
// the naming of the release follows.
#include "sys/os_description.h"

#include <windows.h>

#include "app/program_state.h"

namespace orvel {

std::string DescribeOperatingSystem() {
  BOOL wow64 = FALSE;
  bool is64 = sizeof(void*) == 8;
  if (!is64 && ::IsWow64Process(::GetCurrentProcess(), &wow64) && wow64) is64 = true;
  Program().OsIs64Bit = is64;
  return std::string();
}

}  // namespace orvel
