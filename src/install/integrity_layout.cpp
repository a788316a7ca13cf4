// The seal's place in a PE file (see integrity_layout.h).
#include "install/integrity_layout.h"

#include <algorithm>
#include <cstring>

namespace orvel {

namespace {

// Offsets within the PE headers.
constexpr std::uint64_t kDosHeaderSize = 64;
constexpr std::uint64_t kPeOffsetField = 0x3c;
constexpr std::uint64_t kFileHeaderSize = 20;  // after the 4-byte "PE\0\0"
constexpr std::uint64_t kSectionCountField = 2;
constexpr std::uint64_t kOptionalSizeField = 16;
constexpr std::uint16_t kPe32Magic = 0x10b;
constexpr std::uint16_t kPe32PlusMagic = 0x20b;
constexpr std::uint64_t kChecksumField = 64;
constexpr std::uint64_t kCertificateDirectory = 4;  // IMAGE_DIRECTORY_ENTRY_SECURITY
constexpr std::uint64_t kDirectoryEntrySize = 8;
constexpr std::uint64_t kSectionHeaderSize = 40;
constexpr std::uint64_t kSectionRawSizeField = 16;
constexpr std::uint64_t kSectionRawOffsetField = 20;
// Authenticode places the certificate table at a multiple of 8.
constexpr std::uint64_t kCertificateAlignment = 8;

std::uint16_t Load16(std::span<const std::uint8_t> bytes, std::uint64_t at) {
  return static_cast<std::uint16_t>(bytes[at] | (bytes[at + 1] << 8));
}

std::uint32_t Load32(std::span<const std::uint8_t> bytes, std::uint64_t at) {
  return static_cast<std::uint32_t>(bytes[at]) | (static_cast<std::uint32_t>(bytes[at + 1]) << 8) |
         (static_cast<std::uint32_t>(bytes[at + 2]) << 16) | (static_cast<std::uint32_t>(bytes[at + 3]) << 24);
}

// Headers must lie in the file and in the part of it the caller has read.
SealFault NeedHeaderBytes(std::uint64_t end, std::span<const std::uint8_t> head, std::uint64_t file_size) {
  if (end > file_size) return SealFault::kTooShort;
  if (end > head.size() || end > kSealHeadSize) return SealFault::kBadHeaders;
  return SealFault::kNone;
}

}  // namespace

SealFault FindSealLayout(std::span<const std::uint8_t> head, std::uint64_t file_size, SealLayout& layout) {
  if (head.size() < 2 || head[0] != 'M' || head[1] != 'Z') return SealFault::kNotPe;
  if (file_size < kDosHeaderSize || head.size() < kDosHeaderSize) return SealFault::kTooShort;

  const std::uint64_t pe = Load32(head, kPeOffsetField);
  const std::uint64_t file_header = pe + 4;
  const std::uint64_t optional = file_header + kFileHeaderSize;
  if (SealFault fault = NeedHeaderBytes(optional + 2, head, file_size); fault != SealFault::kNone) return fault;
  if (std::memcmp(head.data() + pe, "PE\0\0", 4) != 0) return SealFault::kNotPe;

  const std::uint64_t optional_size = Load16(head, file_header + kOptionalSizeField);
  const std::uint64_t section_count = Load16(head, file_header + kSectionCountField);
  const std::uint16_t magic = Load16(head, optional);
  std::uint64_t directory_count_field = 0;
  if (magic == kPe32Magic) {
    directory_count_field = 92;
  } else if (magic == kPe32PlusMagic) {
    directory_count_field = 108;
  } else {
    return SealFault::kBadHeaders;
  }
  const std::uint64_t directories = directory_count_field + 4;
  const std::uint64_t certificate_entry = directories + kCertificateDirectory * kDirectoryEntrySize;
  if (optional_size < certificate_entry + kDirectoryEntrySize) return SealFault::kBadHeaders;
  const std::uint64_t section_table = optional + optional_size;
  const std::uint64_t section_table_end = section_table + section_count * kSectionHeaderSize;
  if (SealFault fault = NeedHeaderBytes(section_table_end, head, file_size); fault != SealFault::kNone) return fault;
  if (Load32(head, optional + directory_count_field) <= kCertificateDirectory) return SealFault::kBadHeaders;

  SealLayout found;
  found.file_size = file_size;
  found.checksum = {optional + kChecksumField, 4};
  found.certificate_entry = {optional + certificate_entry, kDirectoryEntrySize};

  // The slot, and where the sections' data ends (a signature may only follow it).
  std::uint64_t data_end = section_table_end;
  bool have_slot = false;
  for (std::uint64_t section = section_table; section < section_table_end; section += kSectionHeaderSize) {
    const std::uint64_t raw_offset = Load32(head, section + kSectionRawOffsetField);
    const std::uint64_t raw_size = Load32(head, section + kSectionRawSizeField);
    if (raw_size > 0) data_end = std::max(data_end, raw_offset + raw_size);
    if (std::memcmp(head.data() + section, kSealSectionName, sizeof kSealSectionName) != 0) continue;
    if (have_slot || raw_size < kSealSlotSize || raw_offset < section_table_end ||
        raw_offset + kSealSlotSize > file_size) {
      return SealFault::kBadSlot;
    }
    have_slot = true;
    found.slot = {raw_offset, kSealSlotSize};
    found.digest = {raw_offset + kSealMarkerSize, kSealDigestSize};
  }
  if (!have_slot) return SealFault::kNoSlot;

  const std::uint64_t certificate_offset = Load32(head, found.certificate_entry.offset);
  const std::uint64_t certificate_size = Load32(head, found.certificate_entry.offset + 4);
  if (certificate_size > 0) {
    // Anywhere but after all the data, and up to the very end, it would hide bytes
    // from the digest.
    if (certificate_offset < data_end || certificate_offset % kCertificateAlignment != 0 ||
        certificate_offset + certificate_size != file_size) {
      return SealFault::kBadCertificateTable;
    }
    found.certificate_table = {certificate_offset, certificate_size};
  }
  layout = found;
  return SealFault::kNone;
}

bool HasSealMarker(std::span<const std::uint8_t> slot) {
  return slot.size() >= kSealMarkerSize && std::equal(kSealMarker.begin(), kSealMarker.end(), slot.begin());
}

CoveredParts CoveredPartsOf(const SealLayout& layout, ByteRange chunk) {
  // In file order, as FindSealLayout guarantees: the two header fields, the digest
  // in a section, the certificate table after all sections.
  const ByteRange excluded[] = {layout.checksum, layout.certificate_entry, layout.digest, layout.certificate_table};
  CoveredParts covered;
  std::uint64_t next = chunk.offset;
  for (const ByteRange& gap : excluded) {
    if (gap.size == 0 || gap.End() <= next) continue;
    if (gap.offset >= chunk.End()) break;
    if (gap.offset > next) covered.parts[covered.count++] = {next, gap.offset - next};
    next = gap.End();
  }
  if (next < chunk.End()) covered.parts[covered.count++] = {next, chunk.End() - next};
  return covered;
}

void CopyOverlap(ByteRange wanted, std::span<std::uint8_t> out, std::uint64_t chunk_offset,
                 std::span<const std::uint8_t> chunk) {
  const std::uint64_t begin = std::max(wanted.offset, chunk_offset);
  const std::uint64_t end = std::min({wanted.End(), chunk_offset + chunk.size(), wanted.offset + out.size()});
  if (begin >= end) return;
  std::memcpy(out.data() + (begin - wanted.offset), chunk.data() + (begin - chunk_offset), end - begin);
}

}  // namespace orvel
