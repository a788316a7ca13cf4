// Orvel's registry entries (see orvel_registry.h).
#include "orvel_registry.h"

#include "scratch.h"

namespace orvel::e2e {

void RemoveOrvelRegistry() {
  test::DeleteRegistryTree(HKEY_LOCAL_MACHINE, kNativeUninstallKey);
  test::DeleteRegistryTree(HKEY_LOCAL_MACHINE, kWow64UninstallKey);
  test::DeleteRegistryTree(HKEY_CURRENT_USER, kUserKey);
  // Only when empty: RegDeleteKeyEx refuses a key that still has subkeys.
  ::RegDeleteKeyExA(HKEY_CURRENT_USER, "Software\\Veltro", KEY_WOW64_64KEY, 0);
}

bool KeyExists(HKEY root, const std::string& path) {
  HKEY key = nullptr;
  if (::RegOpenKeyExA(root, path.c_str(), 0, KEY_READ | KEY_WOW64_64KEY, &key) != ERROR_SUCCESS) return false;
  ::RegCloseKey(key);
  return true;
}

std::optional<DWORD> ReadDword(HKEY root, const std::string& path, const char* name) {
  DWORD value = 0;
  if (!test::GetRegistryDword(root, path, name, value)) return std::nullopt;
  return value;
}

// From the native view, as the installer reads it, whatever this test's bitness.
std::string ProgramFilesFolder() {
  HKEY key;
  if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion", 0,
                      KEY_READ | KEY_WOW64_64KEY, &key) != ERROR_SUCCESS)
    return std::string();
  char value[MAX_PATH] = {};
  DWORD size = sizeof value;
  const LONG status = ::RegGetValueA(key, nullptr, "ProgramFilesDir", RRF_RT_REG_SZ, nullptr, value, &size);
  ::RegCloseKey(key);
  if (status != ERROR_SUCCESS) return std::string();
  std::string folder = value;
  if (!folder.empty() && folder.back() != '\\') folder += '\\';
  return folder;
}

}  // namespace orvel::e2e
