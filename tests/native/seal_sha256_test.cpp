// The portable SHA-256 of the seal tool against the NIST test vectors (and lengths at
// the padding's edges), fed whole and in pieces that cross the 64-byte blocks.
#include "install/integrity_sha256.h"

#include <gtest/gtest.h>

#include <string>

namespace orvel {
namespace {

std::string Hex(const Sha256Digest& digest) {
  static const char kDigits[] = "0123456789abcdef";
  std::string text;
  for (std::uint8_t byte : digest) {
    text += kDigits[byte >> 4];
    text += kDigits[byte & 15];
  }
  return text;
}

std::span<const std::uint8_t> Bytes(const std::string& text) {
  return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

struct Vector {
  std::string message;
  const char* digest;
};

const Vector kNistVectors[] = {
    {"", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
    {"abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
    {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
     "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
    {"abcdefghbcdefghicdefghijdefghijkefghijklfghijklmghijklmnhijklmnoijklmnopjklmnopqklmnopqrlmnopqrsmnopqrstnopqrstu",
     "cf5b16a778af8380036ce59e7b0492370b249b11e8f07a51afac45037afee9d1"},
    {std::string(1000000, 'a'), "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
    // Lengths where the padding needs a block of its own (coreutils' sha256sum).
    {std::string(55, 'a'), "9f4390f8d30c2dd92ec9f095b65e2b9ae9b0a925a5258e241c9f1e910f734318"},
    {std::string(56, 'a'), "b35439a4ac6f0948b6d6f9e3c6af0f5f590ce20f1bde7090ef7970686ec6738a"},
    {std::string(64, 'a'), "ffe054fe7ae0cb6dc65c3af9b61d5209f439851db43d0ba5997337df154668eb"},
};

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
