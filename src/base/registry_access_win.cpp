// Win32 registry calls behind RegistryAccess (see registry_access_win.h).
#include "base/registry_access_win.h"

#include <vector>

namespace orvel {

REGSAM RegistryAccessMask(bool os_is_64bit) {
  return os_is_64bit ? (KEY_ALL_ACCESS | KEY_WOW64_64KEY) : KEY_ALL_ACCESS;
}

void RegistryAccess::SetRootKey(HKEY root) {
  CloseKey();
  root_ = root;
}

namespace {

WinResult FromStatus(LONG status) {
  return status == ERROR_SUCCESS ? WinResult() : WinResult::Failure(static_cast<DWORD>(status));
}

constexpr WinResult kWrongType = WinResult::Failure(ERROR_UNSUPPORTED_TYPE);

}  // namespace

WinResult RegistryAccess::OpenKey(const std::string& path, KeyOpening opening) {
  CloseKey();
  HKEY key = nullptr;
  LONG status;
  if (opening == KeyOpening::kCreateIfMissing) {
    status = ::RegCreateKeyExA(root_, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                               access_, nullptr, &key, nullptr);
  } else {
    status = ::RegOpenKeyExA(root_, path.c_str(), 0, access_, &key);
  }
  if (status != ERROR_SUCCESS) return FromStatus(status);
  key_.Reset(key);
  return WinResult();
}

bool RegistryAccess::ValueExists(const char* name) const {
  if (!key_) return false;
  return ::RegQueryValueExA(key_.Get(), name, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

WinResult RegistryAccess::ReadString(const char* name, std::string& value) const {
  value.clear();
  if (!key_) return WinResult();
  DWORD type = 0;
  DWORD size = 0;
  LONG status = ::RegQueryValueExA(key_.Get(), name, nullptr, &type, nullptr, &size);
  if (status == ERROR_FILE_NOT_FOUND) return WinResult();
  if (status != ERROR_SUCCESS) return FromStatus(status);
  if (type != REG_SZ && type != REG_EXPAND_SZ) return kWrongType;
  // The value may change between the two calls; retry while it grows.
  std::vector<char> buffer;
  for (;;) {
    buffer.assign(size + 1, '\0');
    DWORD got = size;
    status = ::RegQueryValueExA(key_.Get(), name, nullptr, &type,
                                reinterpret_cast<BYTE*>(buffer.data()), &got);
    if (status == ERROR_MORE_DATA) {
      size = got;
      continue;
    }
    if (status != ERROR_SUCCESS) return FromStatus(status);
    if (type != REG_SZ && type != REG_EXPAND_SZ) return kWrongType;
    size = got;
    break;
  }
  // Stored strings need not be terminated; the text ends at the first terminator.
  std::size_t length = 0;
  while (length < size && buffer[length] != '\0') ++length;
  value.assign(buffer.data(), length);
  return WinResult();
}

WinResult RegistryAccess::WriteInteger(const char* name, std::uint32_t value) {
  if (!key_) return WinResult::Failure(ERROR_INVALID_HANDLE);
  const DWORD data = value;
  return FromStatus(
      ::RegSetValueExA(key_.Get(), name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data), sizeof data));
}

}  // namespace orvel
