// Small synthetic PE images for the tests of the seal's rules: DOS header, PE
// headers, a section table and sections with recognisable bytes.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "install/integrity_layout.h"

namespace orvel::test {

using Image = std::vector<std::uint8_t>;

struct TestSection {
  std::string name;
  std::uint32_t raw_offset;
  std::uint32_t raw_size;
};

inline constexpr std::uint32_t kPeOffset = 0x80;
inline constexpr std::uint32_t kOptionalOffset = kPeOffset + 24;

inline void Put16(Image& image, std::size_t at, std::uint16_t value) {
  image[at] = static_cast<std::uint8_t>(value);
  image[at + 1] = static_cast<std::uint8_t>(value >> 8);
}

inline void Put32(Image& image, std::size_t at, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) image[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

// Where the certificate-table entry and the section table of a MakeImage image lie.
inline std::size_t CertificateEntryOffset(bool pe32_plus) { return kOptionalOffset + (pe32_plus ? 112 : 96) + 32; }
inline std::size_t SectionTableOffset(bool pe32_plus) { return kOptionalOffset + (pe32_plus ? 0xf0 : 0xe0); }

// A PE image of `file_size` bytes whose sections hold a counting pattern; a section
// named ".oseal" starts with the seal marker and a zero digest.
inline Image MakeImage(const std::vector<TestSection>& sections, std::uint32_t file_size, bool pe32_plus = true) {
  Image image(file_size, 0);
  image[0] = 'M';
  image[1] = 'Z';
  for (std::size_t at = 2; at < 0x3c; ++at) image[at] = static_cast<std::uint8_t>(at);  // DOS stub stand-in
  Put32(image, 0x3c, kPeOffset);
  std::memcpy(image.data() + kPeOffset, "PE\0\0", 4);
  Put16(image, kPeOffset + 4, pe32_plus ? 0x8664 : 0x14c);
  Put16(image, kPeOffset + 6, static_cast<std::uint16_t>(sections.size()));
  Put32(image, kPeOffset + 8, 0x5eed0001);  // time stamp
  Put16(image, kPeOffset + 20, pe32_plus ? 0xf0 : 0xe0);
  Put16(image, kOptionalOffset, pe32_plus ? 0x20b : 0x10b);
  Put32(image, kOptionalOffset + 60, 0x400);  // SizeOfHeaders
  Put32(image, kOptionalOffset + (pe32_plus ? 108 : 92), 16);
  std::size_t header = SectionTableOffset(pe32_plus);
  for (const TestSection& section : sections) {
    std::memcpy(image.data() + header, section.name.data(), std::min<std::size_t>(section.name.size(), 8));
    Put32(image, header + 8, section.raw_size);
    Put32(image, header + 12, section.raw_offset);
    Put32(image, header + 16, section.raw_size);
    Put32(image, header + 20, section.raw_offset);
    header += 40;
    for (std::uint32_t i = 0; i < section.raw_size && section.raw_offset + i < file_size; ++i) {
      image[section.raw_offset + i] = static_cast<std::uint8_t>(i * 7 + section.raw_offset / 512);
    }
    if (section.name == ".oseal") {
      for (std::size_t i = 0; i < kSealSlotSize && section.raw_offset + i < file_size; ++i) {
        image[section.raw_offset + i] = i < kSealMarkerSize ? kSealMarker[i] : 0;
      }
    }
  }
  return image;
}

// The usual shape: code, the slot, resources.
inline constexpr std::uint32_t kSlotOffset = 0x600;
inline Image MakeSealableImage(bool pe32_plus = true) {
  return MakeImage({{".text", 0x400, 0x200}, {".oseal", kSlotOffset, 0x200}, {".rsrc", 0x800, 0x400}}, 0xc00,
                   pe32_plus);
}

// Appends a certificate table of `size` bytes as a signing tool would.
inline void AppendCertificateTable(Image& image, std::uint32_t size, bool pe32_plus = true) {
  const std::uint32_t offset = static_cast<std::uint32_t>(image.size());
  image.resize(image.size() + size, 0xce);
  Put32(image, CertificateEntryOffset(pe32_plus), offset);
  Put32(image, CertificateEntryOffset(pe32_plus) + 4, size);
}

}  // namespace orvel::test
