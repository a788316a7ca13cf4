// Writing the seal into an installer image, as the build tool does after linking:
// the digest of every byte the seal covers goes into the slot, then the PE checksum
// is made right. Also the same test as the installer's, for the tool's "verify".
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "install/integrity_layout.h"
#include "install/integrity_sha256.h"

namespace orvel {

// SHA-256 of the bytes of `image` (a whole file) that `layout` says the seal covers.
Sha256Digest SealDigestOf(std::span<const std::uint8_t> image, const SealLayout& layout);

// The PE checksum of `image` (the CheckSumMappedFile algorithm: 16-bit one's
// complement sum with the checksum field taken as zero, plus the file size).
std::uint32_t PeChecksumOf(std::span<const std::uint8_t> image, std::uint64_t checksum_offset);

// Seals `image` in place. Sealing a sealed image again gives the same bytes. An image
// that is not a PE file, has no well-formed slot or is signed already is left as it
// was. The image is first padded with zeros to a multiple of 8 bytes, so that a
// signature appended later needs no padding that the digest would see.
SealFault SealImage(std::vector<std::uint8_t>& image);

// What went wrong, in words, for the build tool's messages.
const char* SealFaultText(SealFault fault);

// Whether the seal of `image` matches its contents. `intact` is false on any fault.
SealFault CheckSealedImage(std::span<const std::uint8_t> image, bool& intact);

}  // namespace orvel
