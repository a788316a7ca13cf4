// SHA-256 through CNG (see integrity_cng_win.h).
#include "install/integrity_cng_win.h"

#include <bcrypt.h>

#include <algorithm>

#include "sys/system_library_win.h"

namespace orvel {

namespace {

using OpenAlgorithmFn = LONG(WINAPI*)(void**, LPCWSTR, LPCWSTR, ULONG);
using GetPropertyFn = LONG(WINAPI*)(void*, LPCWSTR, UCHAR*, ULONG, ULONG*, ULONG);
using CreateHashFn = LONG(WINAPI*)(void*, void**, UCHAR*, ULONG, UCHAR*, ULONG, ULONG);

template <typename Fn>
Fn Entry(const ScopedLibrary& library, const char* name) {
  return reinterpret_cast<Fn>(reinterpret_cast<void*>(::GetProcAddress(library.Get(), name)));
}

bool Succeeded(LONG status) { return status >= 0; }

}  // namespace

CngSha256::CngSha256() : library_(LoadSystemLibrary("bcrypt.dll")) {
  if (!library_) return;
  const auto open_algorithm = Entry<OpenAlgorithmFn>(library_, "BCryptOpenAlgorithmProvider");
  const auto get_property = Entry<GetPropertyFn>(library_, "BCryptGetProperty");
  const auto create_hash = Entry<CreateHashFn>(library_, "BCryptCreateHash");
  close_algorithm_ = Entry<CloseAlgorithmFn>(library_, "BCryptCloseAlgorithmProvider");
  hash_data_ = Entry<HashDataFn>(library_, "BCryptHashData");
  finish_hash_ = Entry<FinishHashFn>(library_, "BCryptFinishHash");
  destroy_hash_ = Entry<DestroyHashFn>(library_, "BCryptDestroyHash");
  if (!open_algorithm || !get_property || !create_hash || !close_algorithm_ || !hash_data_ || !finish_hash_ ||
      !destroy_hash_) {
    return;
  }
  void* algorithm = nullptr;
  if (!Succeeded(open_algorithm(&algorithm, BCRYPT_SHA256_ALGORITHM, nullptr, 0))) return;
  algorithm_ = algorithm;
  // Windows 7 wants the caller to provide the hash object's memory.
  DWORD object_size = 0;
  ULONG written = 0;
  if (!Succeeded(get_property(algorithm_, BCRYPT_OBJECT_LENGTH, reinterpret_cast<UCHAR*>(&object_size),
                              sizeof object_size, &written, 0)) ||
      written != sizeof object_size) {
    return;
  }
  hash_object_.resize(object_size);
  void* hash = nullptr;
  if (!Succeeded(create_hash(algorithm_, &hash, hash_object_.data(), object_size, nullptr, 0, 0))) return;
  hash_ = hash;
}

CngSha256::~CngSha256() { Release(); }

void CngSha256::Release() {
  if (hash_ != nullptr) destroy_hash_(hash_);
  hash_ = nullptr;
  if (algorithm_ != nullptr) close_algorithm_(algorithm_, 0);
  algorithm_ = nullptr;
}

bool CngSha256::Update(std::span<const std::uint8_t> bytes) {
  if (hash_ == nullptr) return false;
  constexpr std::size_t kMaxPiece = 1u << 30;  // the call takes a 32-bit count
  while (!bytes.empty()) {
    const std::size_t piece = std::min(bytes.size(), kMaxPiece);
    // CNG does not write to the input; the parameter is merely not const.
    if (!Succeeded(hash_data_(hash_, const_cast<UCHAR*>(bytes.data()), static_cast<ULONG>(piece), 0))) {
      Release();
      return false;
    }
    bytes = bytes.subspan(piece);
  }
  return true;
}

bool CngSha256::Finish(Sha256Digest& digest) {
  if (hash_ == nullptr) return false;
  const bool ok = Succeeded(finish_hash_(hash_, digest.data(), static_cast<ULONG>(digest.size()), 0));
  Release();
  return ok;
}

}  // namespace orvel
