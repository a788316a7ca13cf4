// Orvel's registry entries as the end-to-end tests set and read them: its uninstall
// entry in the native (64-bit) view and in the 32-bit view ("WOW6432Node"), and its
// per-user key.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace orvel::e2e {

inline constexpr char kNativeUninstallKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Orvel";
inline constexpr char kWow64UninstallKey[] =
    "Software\\WOW6432Node\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Orvel";
inline constexpr char kUserKey[] = "Software\\Veltro\\Orvel";

// Removes every entry above (and "Software\Veltro" when that is left empty).
void RemoveOrvelRegistry();

bool KeyExists(HKEY root, const std::string& path);
// A REG_DWORD value; nothing when the key or value is missing or of another type.
std::optional<DWORD> ReadDword(HKEY root, const std::string& path, const char* name);
// Program Files as the machine records it ("ProgramFilesDir"), ending in "\".
std::string ProgramFilesFolder();

}  // namespace orvel::e2e
