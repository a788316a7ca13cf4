// Writing a resource embedded in the installer into a file on disk.
#pragma once

#include <string>

namespace orvel {

// Writes resource `resource_name` of type `file_kind` (matched regardless of case) to
// `target_path`. The new bytes go to the staging name beside the target first and
// replace the target in one step, so a failure leaves the target as it was.
// With `AskIfOlder`, an installed file of a known kind that is newer than the new one
// is replaced only after the user agreed. Failures show "Can't install file " + the
// target path and return false; a declined replacement is no failure.
bool InstallPackageFile(const std::string& resource_name, const std::string& file_kind,
                        const std::string& target_path, bool AskIfOlder);

}  // namespace orvel
