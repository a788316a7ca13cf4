// SHA-256 through CNG (see integrity_cng_win.h).
#include "install/integrity_cng_win.h"

#include <bcrypt.h>

#include <algorithm>

#include "base/file_access_win.h"
#include "sys/system_library_win.h"

namespace orvel {

namespace {

using OpenAlgorithmFn = LONG(WINAPI*)(void**, LPCWSTR, LPCWSTR, ULONG);
using GetPropertyFn = LONG(WINAPI*)(void*, LPCWSTR, UCHAR*, ULONG, ULONG*, ULONG);
using CreateHashFn = LONG(WINAPI*)(void*, void**, UCHAR*, ULONG, UCHAR*, ULONG, ULONG);
using CloseAlgorithmFn = LONG(WINAPI*)(void*, ULONG);
using HashDataFn = LONG(WINAPI*)(void*, UCHAR*, ULONG, ULONG);
using FinishHashFn = LONG(WINAPI*)(void*, UCHAR*, ULONG, ULONG);
using DestroyHashFn = LONG(WINAPI*)(void*);

// bcrypt.dll's entry points, taken when a CngSha256 loads it. The library stays
// loaded while any CngSha256 lives, and a new load finds them at the same place.
struct CngEntries {
  OpenAlgorithmFn open_algorithm = nullptr;
  GetPropertyFn get_property = nullptr;
  CreateHashFn create_hash = nullptr;
  CloseAlgorithmFn close_algorithm = nullptr;
  HashDataFn hash_data = nullptr;
  FinishHashFn finish_hash = nullptr;
  DestroyHashFn destroy_hash = nullptr;
};
CngEntries Cng;

bool LoadEntries(const ScopedLibrary& library) {
  Cng.open_algorithm = EntryPoint<OpenAlgorithmFn>(library.Get(), "BCryptOpenAlgorithmProvider");
  Cng.get_property = EntryPoint<GetPropertyFn>(library.Get(), "BCryptGetProperty");
  Cng.create_hash = EntryPoint<CreateHashFn>(library.Get(), "BCryptCreateHash");
  Cng.close_algorithm = EntryPoint<CloseAlgorithmFn>(library.Get(), "BCryptCloseAlgorithmProvider");
  Cng.hash_data = EntryPoint<HashDataFn>(library.Get(), "BCryptHashData");
  Cng.finish_hash = EntryPoint<FinishHashFn>(library.Get(), "BCryptFinishHash");
  Cng.destroy_hash = EntryPoint<DestroyHashFn>(library.Get(), "BCryptDestroyHash");
  return Cng.open_algorithm && Cng.get_property && Cng.create_hash && Cng.close_algorithm && Cng.hash_data &&
         Cng.finish_hash && Cng.destroy_hash;
}

bool Succeeded(LONG status) { return status >= 0; }

}  // namespace

void CngAlgorithmTraits::Close(Handle h) { Cng.close_algorithm(h, 0); }
void CngHashTraits::Close(Handle h) { Cng.destroy_hash(h); }

CngSha256::CngSha256() : library_(LoadSystemLibrary("bcrypt.dll")) {
  if (!library_ || !LoadEntries(library_)) return;
  void* algorithm = nullptr;
  if (!Succeeded(Cng.open_algorithm(&algorithm, BCRYPT_SHA256_ALGORITHM, nullptr, 0))) return;
  algorithm_.Reset(algorithm);
  // Windows 7 wants the caller to provide the hash object's memory.
  DWORD object_size = 0;
  ULONG written = 0;
  if (!Succeeded(Cng.get_property(algorithm_.Get(), BCRYPT_OBJECT_LENGTH, reinterpret_cast<UCHAR*>(&object_size),
                                  sizeof object_size, &written, 0)) ||
      written != sizeof object_size) {
    return;
  }
  hash_object_.resize(object_size);
  void* hash = nullptr;
  if (!Succeeded(Cng.create_hash(algorithm_.Get(), &hash, hash_object_.data(), object_size, nullptr, 0, 0))) return;
  hash_.Reset(hash);
}

bool CngSha256::Update(std::span<const std::uint8_t> bytes) {
  if (!hash_) return false;
  constexpr std::size_t kMaxPiece = 1u << 30;  // the call takes a 32-bit count
  while (!bytes.empty()) {
    const std::size_t piece = std::min(bytes.size(), kMaxPiece);
    // CNG does not write to the input; the parameter is merely not const.
    if (!Succeeded(Cng.hash_data(hash_.Get(), const_cast<UCHAR*>(bytes.data()), static_cast<ULONG>(piece), 0))) {
      hash_.Reset();
      return false;
    }
    bytes = bytes.subspan(piece);
  }
  return true;
}

bool CngSha256::Finish(Sha256Digest& digest) {
  if (!hash_) return false;
  const bool ok = Succeeded(Cng.finish_hash(hash_.Get(), digest.data(), static_cast<ULONG>(digest.size()), 0));
  hash_.Reset();
  return ok;
}

}  // namespace orvel
