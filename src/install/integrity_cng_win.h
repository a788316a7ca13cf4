// SHA-256 by Windows' own cryptography (CNG). bcrypt.dll is not a KnownDLL, so it is
// loaded from the system folder on first use and never imported.
#pragma once

#include <windows.h>

#include <cstdint>
#include <span>
#include <vector>

#include "install/integrity_sha256.h"
#include "sys/scoped_handle_win.h"

namespace orvel {

// One SHA-256 computation. Owns the library, the algorithm provider and the hash
// object, and releases them in reverse order.
class CngSha256 {
 public:
  CngSha256();
  ~CngSha256();
  CngSha256(const CngSha256&) = delete;
  CngSha256& operator=(const CngSha256&) = delete;

  // False when CNG or its SHA-256 provider is not available, or a call failed.
  bool IsReady() const { return hash_ != nullptr; }
  bool Update(std::span<const std::uint8_t> bytes);
  // Gives the digest; the object cannot be used afterwards.
  bool Finish(Sha256Digest& digest);

 private:
  using CloseAlgorithmFn = LONG(WINAPI*)(void*, ULONG);
  using HashDataFn = LONG(WINAPI*)(void*, UCHAR*, ULONG, ULONG);
  using FinishHashFn = LONG(WINAPI*)(void*, UCHAR*, ULONG, ULONG);
  using DestroyHashFn = LONG(WINAPI*)(void*);

  void Release();

  ScopedLibrary library_;
  CloseAlgorithmFn close_algorithm_ = nullptr;
  HashDataFn hash_data_ = nullptr;
  FinishHashFn finish_hash_ = nullptr;
  DestroyHashFn destroy_hash_ = nullptr;
  void* algorithm_ = nullptr;
  void* hash_ = nullptr;
  std::vector<std::uint8_t> hash_object_;  // CNG's working memory for the hash
};

}  // namespace orvel
