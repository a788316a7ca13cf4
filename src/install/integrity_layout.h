// Where the installer's seal lies in its PE file, and which bytes the seal's digest
// leaves out: the digest itself, the PE checksum field, the certificate-table entry
// and the certificate table (the bytes an Authenticode signature changes). One set of
// rules for the build tool that writes the seal and the installer that checks it.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace orvel {

// The seal slot is the start of the installer's own section ".oseal": a marker that
// names it, then the SHA-256 digest (zeros until the build tool writes it).
inline constexpr char kSealSectionName[8] = {'.', 'o', 's', 'e', 'a', 'l', 0, 0};
inline constexpr std::size_t kSealMarkerSize = 16;
constexpr std::array<std::uint8_t, kSealMarkerSize> kSealMarker = {
    'O', 'r', 'v', 'e', 'l', ' ', 's', 'e', 'a', 'l', ' ', 's', 'l', 'o', 't', '1'};
inline constexpr std::size_t kSealDigestSize = 32;
inline constexpr std::size_t kSealSlotSize = kSealMarkerSize + kSealDigestSize;

// The file's headers up to the end of its section table must lie within its first
// kSealHeadSize bytes.
inline constexpr std::size_t kSealHeadSize = 64 * 1024;

struct ByteRange {
  std::uint64_t offset = 0;
  std::uint64_t size = 0;
  std::uint64_t End() const { return offset + size; }
};

struct SealLayout {
  std::uint64_t file_size = 0;
  ByteRange checksum;           // CheckSum field of the optional header
  ByteRange certificate_entry;  // certificate-table entry of the data directories
  ByteRange slot;               // marker and digest
  ByteRange digest;             // the digest part of the slot
  ByteRange certificate_table;  // the Authenticode signature; empty when unsigned
};

enum class SealFault {
  kNone,
  kTooShort,              // the file ends inside its headers
  kNotPe,                 // no DOS or PE signature
  kBadHeaders,            // unknown optional header, too few data directories, ...
  kNoSlot,                // no ".oseal" section
  kBadSlot,               // slot too small, duplicated, outside the file, or no marker
  kBadCertificateTable,   // a certificate table that is not the end of the file
  kAlreadySigned,         // (sealing only) the file carries a signature already
};

// Finds the seal layout of a file of `file_size` bytes from `head`, its first
// min(file_size, kSealHeadSize) bytes or more. The slot's marker is not looked at
// here (it may lie beyond `head`): see HasSealMarker.
SealFault FindSealLayout(std::span<const std::uint8_t> head, std::uint64_t file_size, SealLayout& layout);

// True when `slot` (the bytes of SealLayout::slot) starts with the seal marker.
bool HasSealMarker(std::span<const std::uint8_t> slot);

// The parts of `chunk` (a range of the file) that the digest covers, in file order.
struct CoveredParts {
  std::array<ByteRange, 5> parts;
  std::size_t count = 0;
};
CoveredParts CoveredPartsOf(const SealLayout& layout, ByteRange chunk);

// Copies the bytes of `wanted` that lie in `chunk` (the file's bytes from
// `chunk_offset` on) to the same places of `out`, which holds wanted.size bytes.
void CopyOverlap(ByteRange wanted, std::span<std::uint8_t> out, std::uint64_t chunk_offset,
                 std::span<const std::uint8_t> chunk);

}  // namespace orvel
