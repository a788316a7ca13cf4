// Path rules of the installer, free of any Windows call.
#pragma once

#include <string>
#include <string_view>

namespace orvel {

// Appends "\" to a non-empty path that does not end in one; an empty path stays empty.
void EnsureTrailingBackslash(std::string& path);

// The folder of Orvel's "UninstallString": the text up to and including its last
// backslash, found scanning back from the second-to-last character (a trailing
// backslash is not a folder end). A string in double quotes is first cut to the text
// between them, so "C:\P\Orvel\unins.exe" /x gives C:\P\Orvel\ . Empty when there is
// no such backslash; the caller then keeps its default folder.
std::string UninstallStringFolder(std::string_view uninstall_string);

// The 32-bit-view twin of an HKEY_LOCAL_MACHINE path: "WOW6432Node\" inserted after
// its first backslash (Software\X\ gives Software\WOW6432Node\X\). Unchanged when the
// path has no backslash.
std::string Wow64KeyPath(std::string_view key_path);

// True for a full path of a local drive ("X:\...", X a letter) or of a network share
// ("\\server\share\...", server and share not empty). Empty, relative, drive-relative
// ("X:name") and device paths ("\\.\...", "\\?\...") are not: they would make a
// folder depend on the current folder or reach past the file system.
bool IsFullFolderPath(std::string_view path);

}  // namespace orvel
