// SHA-256 by Windows' own cryptography (CNG). bcrypt.dll is not a KnownDLL, so it is
// loaded from the system folder on first use and never imported.
#pragma once

#include <windows.h>

#include <cstdint>
#include <span>
#include <vector>

#include "base/scoped_handle_win.h"
#include "install/integrity_sha256.h"

namespace orvel {

// CNG's algorithm-provider and hash handles. They are closed through the entry points
// of the bcrypt.dll that CngSha256 loaded, so they may only live while it does.
struct CngAlgorithmTraits {
  using Handle = void*;
  static Handle Invalid() { return nullptr; }
  static bool IsValid(Handle h) { return h != nullptr; }
  static void Close(Handle h);
};
using ScopedCngAlgorithm = ScopedHandle<CngAlgorithmTraits>;

struct CngHashTraits {
  using Handle = void*;
  static Handle Invalid() { return nullptr; }
  static bool IsValid(Handle h) { return h != nullptr; }
  static void Close(Handle h);
};
using ScopedCngHash = ScopedHandle<CngHashTraits>;

// One SHA-256 computation. Owns the library, the algorithm provider, the hash
// object's memory and the hash, and releases them in reverse order.
class CngSha256 {
 public:
  CngSha256();
  CngSha256(const CngSha256&) = delete;
  CngSha256& operator=(const CngSha256&) = delete;

  // False when CNG or its SHA-256 provider is not available, or a call failed.
  bool IsReady() const { return hash_.IsValid(); }
  bool Update(std::span<const std::uint8_t> bytes);
  // Gives the digest; the object cannot be used afterwards.
  bool Finish(Sha256Digest& digest);

 private:
  // Destroyed bottom-up: the hash, its memory, the provider, then the library.
  ScopedLibrary library_;
  ScopedCngAlgorithm algorithm_;
  std::vector<std::uint8_t> hash_object_;  // CNG's working memory for the hash
  ScopedCngHash hash_;
};

}  // namespace orvel
