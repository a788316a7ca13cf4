// The installer's one registry access object: a root key, at most one open key, and
// an access mask used for every key it opens or creates. Callers take turns: set the
// root, open one key, read or write, close it.
//
// Reads never fail for a missing key or value (they read as absent or empty); they
// fail only for a value of another type (ERROR_UNSUPPORTED_TYPE) or a failed read,
// and writes fail when no key is open (ERROR_INVALID_HANDLE) or Windows refuses.
// Failures carry Windows' code; the caller decides what such a failure means.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "base/scoped_handle_win.h"
#include "base/win_result_win.h"

namespace orvel {

// Whether OpenKey may create the key it opens.
enum class KeyOpening { kExisting, kCreateIfMissing };

class RegistryAccess {
 public:
  explicit RegistryAccess(REGSAM access) : access_(access) {}

  REGSAM Access() const { return access_; }
  HKEY RootKey() const { return root_; }
  bool HasOpenKey() const { return key_.IsValid(); }

  // Closes the current key first.
  void SetRootKey(HKEY root);
  // Opens `path` below the root key as the current key (closing the previous one),
  // creating it when missing if `opening` allows. Fails when it could not be opened.
  WinResult OpenKey(const std::string& path, KeyOpening opening);
  void CloseKey() { key_.Reset(); }

  bool ValueExists(const char* name) const;
  // A REG_SZ or REG_EXPAND_SZ value, taken as stored (not expanded). A missing value,
  // or no open key, reads as empty and succeeds; another type or a failed read fails.
  WinResult ReadString(const char* name, std::string& value) const;
  // Writes a REG_DWORD value into the current key.
  WinResult WriteInteger(const char* name, std::uint32_t value);

 private:
  HKEY root_ = HKEY_CURRENT_USER;
  ScopedRegKey key_;
  REGSAM access_;
};

// The access mask of the process: full access, in the 64-bit view on 64-bit Windows.
REGSAM RegistryAccessMask(bool os_is_64bit);

}  // namespace orvel
