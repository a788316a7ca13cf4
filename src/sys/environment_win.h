// The process's environment variables, read through Windows (the installer does not
// run the C runtime's start-up, so the runtime's copy of the environment is not used).
#pragma once

#include <string>

namespace orvel {

// The value of environment variable `name`, of any length; empty when it is not set.
std::string EnvironmentText(const char* name);

}  // namespace orvel
