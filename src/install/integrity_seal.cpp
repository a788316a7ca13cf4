// Sealing an installer image (see integrity_seal.h).
#include "install/integrity_seal.h"

#include <algorithm>

namespace orvel {

namespace {

constexpr std::size_t kSignatureAlignment = 8;

// The layout of a whole image, with the slot's marker checked too.
SealFault FindCompleteLayout(std::span<const std::uint8_t> image, SealLayout& layout) {
  if (SealFault fault = FindSealLayout(image, image.size(), layout); fault != SealFault::kNone) return fault;
  if (!HasSealMarker(image.subspan(layout.slot.offset, layout.slot.size))) return SealFault::kBadSlot;
  return SealFault::kNone;
}

}  // namespace

Sha256Digest SealDigestOf(std::span<const std::uint8_t> image, const SealLayout& layout) {
  Sha256 hash;
  const CoveredParts covered = CoveredPartsOf(layout, {0, image.size()});
  for (std::size_t i = 0; i < covered.count; ++i) {
    hash.Update(image.subspan(covered.parts[i].offset, covered.parts[i].size));
  }
  return hash.Finish();
}

std::uint32_t PeChecksumOf(std::span<const std::uint8_t> image, std::uint64_t checksum_offset) {
  auto byte_at = [&](std::size_t at) -> std::uint32_t {
    return at >= checksum_offset && at < checksum_offset + 4 ? 0 : image[at];
  };
  std::uint32_t sum = 0;
  for (std::size_t at = 0; at < image.size(); at += 2) {
    sum += byte_at(at) | (at + 1 < image.size() ? byte_at(at + 1) << 8 : 0);
    sum = (sum & 0xffff) + (sum >> 16);
  }
  sum = (sum & 0xffff) + (sum >> 16);
  return sum + static_cast<std::uint32_t>(image.size());
}

SealFault SealImage(std::vector<std::uint8_t>& image) {
  SealLayout layout;
  if (SealFault fault = FindCompleteLayout(image, layout); fault != SealFault::kNone) return fault;
  if (layout.certificate_table.size > 0) return SealFault::kAlreadySigned;

  if (image.size() % kSignatureAlignment != 0) {
    image.resize(image.size() + kSignatureAlignment - image.size() % kSignatureAlignment, 0);
    layout.file_size = image.size();
  }
  const Sha256Digest digest = SealDigestOf(image, layout);
  std::copy(digest.begin(), digest.end(), image.begin() + static_cast<std::ptrdiff_t>(layout.digest.offset));

  const std::uint32_t checksum = PeChecksumOf(image, layout.checksum.offset);
  for (std::size_t i = 0; i < 4; ++i) {
    image[layout.checksum.offset + i] = static_cast<std::uint8_t>(checksum >> (8 * i));
  }
  return SealFault::kNone;
}

SealFault CheckSealedImage(std::span<const std::uint8_t> image, bool& intact) {
  intact = false;
  SealLayout layout;
  if (SealFault fault = FindCompleteLayout(image, layout); fault != SealFault::kNone) return fault;
  const Sha256Digest digest = SealDigestOf(image, layout);
  intact = std::equal(digest.begin(), digest.end(), image.begin() + static_cast<std::ptrdiff_t>(layout.digest.offset));
  return SealFault::kNone;
}

const char* SealFaultText(SealFault fault) {
  switch (fault) {
    case SealFault::kNone:
      return "no fault";
    case SealFault::kTooShort:
      return "the file is shorter than its headers";
    case SealFault::kNotPe:
      return "not a PE file (no MZ or PE signature)";
    case SealFault::kBadHeaders:
      return "its PE headers are malformed (unknown optional header, too few data directories, "
             "or headers beyond the first 64 KiB)";
    case SealFault::kNoSlot:
      return "it has no seal slot (no section .oseal; is the slot object linked in?)";
    case SealFault::kBadSlot:
      return "its seal slot is malformed (section .oseal too small, duplicated, outside the file, "
             "or without its marker)";
    case SealFault::kBadCertificateTable:
      return "its certificate table is not at the end of the file";
    case SealFault::kAlreadySigned:
      return "it is signed already; seal first, then sign";
  }
  return "unknown fault";
}

}  // namespace orvel
