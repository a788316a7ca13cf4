// Environment variables (see environment_win.h).
#include "sys/environment_win.h"

#include <windows.h>

namespace orvel {

std::string EnvironmentText(const char* name) {
  std::string value;
  DWORD size = ::GetEnvironmentVariableA(name, nullptr, 0);
  while (size > 0) {
    value.assign(size, '\0');
    const DWORD length = ::GetEnvironmentVariableA(name, value.data(), size);
    if (length < size) {
      value.resize(length);
      return value;
    }
    size = length;  // it grew meanwhile
  }
  return std::string();
}

}  // namespace orvel
