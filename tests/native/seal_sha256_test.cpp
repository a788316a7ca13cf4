// The portable SHA-256 of the seal tool against the NIST test vectors (and lengths at
// the padding's edges), fed whole and in pieces that cross the 64-byte blocks.
#include "install/integrity_sha256.h"

#include <gtest/gtest.h>

#include "sha256_vectors.h"

#include <string>

namespace orvel {
namespace {

using test::Bytes;
using test::Hex;
using Vector = test::Sha256Vector;
const auto& kNistVectors = test::kSha256Vectors;

TEST(Sha256Test, NistVectorsWhole) {
  for (const Vector& vector : kNistVectors) {
    Sha256 hash;
    hash.Update(Bytes(vector.message));
    EXPECT_EQ(Hex(hash.Finish()), vector.digest) << vector.message.size() << " bytes";
  }
}

TEST(Sha256Test, NistVectorsInPieces) {
  // Piece sizes below, at and above a block, and primes that drift across blocks.
  for (std::size_t piece : {1u, 3u, 55u, 56u, 63u, 64u, 65u, 127u, 4099u}) {
    for (const Vector& vector : kNistVectors) {
      Sha256 hash;
      const std::span<const std::uint8_t> all = Bytes(vector.message);
      for (std::size_t at = 0; at < all.size(); at += piece) {
        hash.Update(all.subspan(at, std::min(piece, all.size() - at)));
      }
      hash.Update({});  // an empty piece changes nothing
      EXPECT_EQ(Hex(hash.Finish()), vector.digest) << vector.message.size() << " bytes in pieces of " << piece;
    }
  }
}

}  // namespace
}  // namespace orvel
