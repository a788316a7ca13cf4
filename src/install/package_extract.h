// Writing a resource embedded in the installer into a file on disk.
#pragma once

#include <string>

namespace orvel {

class HeldFolder;

// Writes resource `resource_name` of type `file_kind` (matched regardless of case) to
// `target_path`. The new bytes go to the staging name beside the target first and
// replace the target in one step, so a failure leaves the target as it was.
//
// With `AskIfOlder`, an installed file of a compared kind ("pak", "3bs", "lng", "cok"
// or "exe", exactly so) is first compared with the new one by its version; when the
// installed file is the newer, the progress window is hidden and the user is asked,
// and only Yes replaces it. After such a question the staging file is gone either way
// and the progress window is shown again (created if there was none) with an empty
// caption and text. A language file whose path holds "!" is replaced without
// comparing. Without `AskIfOlder`, or for a new file or another kind, the bytes simply
// replace the target.
//
// Every entry is made, renamed and deleted through a handle of the target's folder,
// opened once, or through a handle of the file itself: the staging file is made new,
// moved over any staging entry an interrupted run left (replacing it as an entry,
// never following a link) and renamed over the target through its own handle.
//
// Failures show "Can't install file " + the target path once and return false, with
// the Win32 error code of the call that failed as the thread's last error; a
// declined replacement is no failure.
bool InstallPackageFile(const std::string& resource_name, const std::string& file_kind,
                        const std::string& target_path, bool AskIfOlder);
// The direct mode for a target in `folder`, which the caller holds: `target_path`
// names the target in messages, and its file-name part is the entry written there.
bool InstallPackageFile(const std::string& resource_name, const std::string& file_kind,
                        const std::string& target_path, const HeldFolder& folder);

// The two values of `AskIfOlder`, by the names of the modes they select.
inline constexpr bool kDirectMode = false;
inline constexpr bool kComparingMode = true;

}  // namespace orvel
