// SHA-256 (FIPS 180-4) in portable C++: the digest the seal tool writes into the
// installer. The installer itself hashes with Windows' own implementation (see
// integrity_cng_win.h); both must give the same digest for the same bytes.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace orvel {

inline constexpr std::size_t kSha256Size = 32;
using Sha256Digest = std::array<std::uint8_t, kSha256Size>;

// Hashes bytes fed in any number of pieces; Finish() gives the digest once.
class Sha256 {
 public:
  Sha256();
  void Update(std::span<const std::uint8_t> bytes);
  Sha256Digest Finish();

 private:
  void Compress(const std::uint8_t* block);

  std::array<std::uint32_t, 8> state_;
  std::array<std::uint8_t, 64> pending_ = {};
  std::size_t pending_size_ = 0;
  std::uint64_t total_size_ = 0;
};

}  // namespace orvel
