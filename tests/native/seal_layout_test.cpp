// Where the seal and the bytes its digest leaves out lie in a PE file, which files
// are refused, and how a file read in blocks is split into covered parts.
#include "install/integrity_layout.h"

#include <gtest/gtest.h>

#include "seal_test_image.h"

namespace orvel {
namespace {

using test::Image;
using test::MakeImage;
using test::MakeSealableImage;
using test::Put16;
using test::Put32;

SealFault Layout(const Image& image, SealLayout& layout) { return FindSealLayout(image, image.size(), layout); }

TEST(FindSealLayoutTest, FindsEveryPartInBothPeKinds) {
  for (bool pe32_plus : {true, false}) {
    const Image image = MakeSealableImage(pe32_plus);
    SealLayout layout;
    ASSERT_EQ(Layout(image, layout), SealFault::kNone) << pe32_plus;
    EXPECT_EQ(layout.file_size, image.size());
    EXPECT_EQ(layout.checksum.offset, test::kOptionalOffset + 64u);
    EXPECT_EQ(layout.checksum.size, 4u);
    EXPECT_EQ(layout.certificate_entry.offset, test::CertificateEntryOffset(pe32_plus));
    EXPECT_EQ(layout.certificate_entry.size, 8u);
    EXPECT_EQ(layout.slot.offset, test::kSlotOffset);
    EXPECT_EQ(layout.slot.size, kSealSlotSize);
    EXPECT_EQ(layout.digest.offset, test::kSlotOffset + kSealMarkerSize);
    EXPECT_EQ(layout.digest.size, kSealDigestSize);
    EXPECT_EQ(layout.certificate_table.size, 0u);
    EXPECT_TRUE(HasSealMarker(std::span(image).subspan(layout.slot.offset, layout.slot.size)));
  }
}

TEST(FindSealLayoutTest, TakesASignatureAtTheEnd) {
  Image image = MakeSealableImage();
  test::AppendCertificateTable(image, 0x98);
  SealLayout layout;
  ASSERT_EQ(Layout(image, layout), SealFault::kNone);
  EXPECT_EQ(layout.certificate_table.offset, 0xc00u);
  EXPECT_EQ(layout.certificate_table.size, 0x98u);
  // An entry of size zero is no table, wherever it points.
  Image unsigned_image = MakeSealableImage();
  Put32(unsigned_image, test::CertificateEntryOffset(true), 0x10);
  ASSERT_EQ(Layout(unsigned_image, layout), SealFault::kNone);
  EXPECT_EQ(layout.certificate_table.size, 0u);
}

TEST(FindSealLayoutTest, RefusesWhatIsNoSealedPeFile) {
  const struct {
    const char* what;
    void (*change)(Image&);
    SealFault fault;
  } cases[] = {
      {"empty", [](Image& i) { i.clear(); }, SealFault::kNotPe},
      {"one byte", [](Image& i) { i.resize(1); }, SealFault::kNotPe},
      {"63 bytes", [](Image& i) { i.resize(63); }, SealFault::kTooShort},
      {"no MZ", [](Image& i) { i[1] = 'X'; }, SealFault::kNotPe},
      {"text", [](Image& i) { i.assign(0x1000, 'x'); }, SealFault::kNotPe},
      {"PE offset past the end", [](Image& i) { Put32(i, 0x3c, 0x10000); }, SealFault::kTooShort},
      {"headers beyond 64 KiB", [](Image& i) { Put32(i, 0x3c, 0x10000); i.resize(0x20000); }, SealFault::kBadHeaders},
      {"ends in the PE header", [](Image& i) { i.resize(test::kPeOffset + 10); }, SealFault::kTooShort},
      {"ends in the section table", [](Image& i) { i.resize(test::SectionTableOffset(true) + 50); },
       SealFault::kTooShort},
      {"no PE signature", [](Image& i) { i[test::kPeOffset + 1] = 'X'; }, SealFault::kNotPe},
      {"unknown optional header", [](Image& i) { Put16(i, test::kOptionalOffset, 0x107); }, SealFault::kBadHeaders},
      {"four data directories", [](Image& i) { Put32(i, test::kOptionalOffset + 108, 4); }, SealFault::kBadHeaders},
      {"optional header too small", [](Image& i) { Put16(i, test::kPeOffset + 20, 0x90); }, SealFault::kBadHeaders},
      {"no slot section", [](Image& i) { i[test::SectionTableOffset(true) + 40 + 1] = 'x'; }, SealFault::kNoSlot},
      {"slot section too small", [](Image& i) { Put32(i, test::SectionTableOffset(true) + 40 + 16, 47); },
       SealFault::kBadSlot},
      {"slot past the end", [](Image& i) { i.resize(test::kSlotOffset + 40); }, SealFault::kBadSlot},
      {"slot in the headers", [](Image& i) { Put32(i, test::SectionTableOffset(true) + 40 + 20, 0x100); },
       SealFault::kBadSlot},
      {"signature not at the end", [](Image& i) { test::AppendCertificateTable(i, 0x10); i.push_back(0); },
       SealFault::kBadCertificateTable},
      {"signature over the sections", [](Image& i) { Put32(i, test::CertificateEntryOffset(true), 0x800);
                                                     Put32(i, test::CertificateEntryOffset(true) + 4, 0x400); },
       SealFault::kBadCertificateTable},
      {"signature not 8-aligned", [](Image& i) { i.resize(0xc04); test::AppendCertificateTable(i, 0x10); },
       SealFault::kBadCertificateTable},
      {"signature past the end", [](Image& i) { test::AppendCertificateTable(i, 0x10); i.pop_back(); },
       SealFault::kBadCertificateTable},
  };
  for (const auto& c : cases) {
    Image image = MakeSealableImage();
    c.change(image);
    SealLayout layout;
    EXPECT_EQ(Layout(image, layout), c.fault) << c.what;
  }

  // Two slots are one too many.
  const Image twice = MakeImage({{".oseal", 0x400, 0x200}, {".oseal", 0x600, 0x200}}, 0x800);
  SealLayout layout;
  EXPECT_EQ(Layout(twice, layout), SealFault::kBadSlot);
}

TEST(FindSealLayoutTest, NeedsTheHeadersInTheBytesGiven) {
  const Image image = MakeSealableImage();
  SealLayout layout;
  const std::span<const std::uint8_t> all(image);
  EXPECT_EQ(FindSealLayout(all.first(0x400), image.size(), layout), SealFault::kNone);
  EXPECT_EQ(FindSealLayout(all.first(test::SectionTableOffset(true) + 100), image.size(), layout),
            SealFault::kBadHeaders);
}

TEST(HasSealMarkerTest, WantsTheWholeMarker) {
  Image slot(kSealMarker.begin(), kSealMarker.end());
  EXPECT_TRUE(HasSealMarker(slot));
  EXPECT_FALSE(HasSealMarker(std::span(slot).first(kSealMarkerSize - 1)));
  slot[kSealMarkerSize - 1] ^= 1;
  EXPECT_FALSE(HasSealMarker(slot));
}

// The covered bytes of `image` read in blocks of `block` bytes, joined.
Image CoveredBytesInBlocks(const Image& image, const SealLayout& layout, std::size_t block) {
  Image covered;
  for (std::size_t at = 0; at < image.size(); at += block) {
    const std::size_t size = std::min(block, image.size() - at);
    const CoveredParts parts = CoveredPartsOf(layout, {at, size});
    for (std::size_t i = 0; i < parts.count; ++i) {
      EXPECT_GE(parts.parts[i].offset, at);
      EXPECT_LE(parts.parts[i].End(), at + size);
      EXPECT_GT(parts.parts[i].size, 0u);
      covered.insert(covered.end(), image.begin() + parts.parts[i].offset, image.begin() + parts.parts[i].End());
    }
  }
  return covered;
}

TEST(CoveredPartsOfTest, LeavesOutExactlyTheFourExclusionsInAnyBlocking) {
  Image image = MakeSealableImage();
  test::AppendCertificateTable(image, 0x40);
  SealLayout layout;
  ASSERT_EQ(Layout(image, layout), SealFault::kNone);

  // Expected: the file with the excluded ranges cut out, last first.
  Image expected = image;
  for (const ByteRange& gap : {layout.certificate_table, layout.digest, layout.certificate_entry, layout.checksum}) {
    expected.erase(expected.begin() + gap.offset, expected.begin() + gap.End());
  }
  ASSERT_EQ(expected.size(), image.size() - 4 - 8 - kSealDigestSize - 0x40);

  const CoveredParts whole = CoveredPartsOf(layout, {0, image.size()});
  ASSERT_EQ(whole.count, 4u);  // the certificate table ends the file: nothing after it
  EXPECT_EQ(whole.parts[0].End(), layout.checksum.offset);
  EXPECT_EQ(whole.parts[1].offset, layout.checksum.End());
  EXPECT_EQ(whole.parts[3].End(), layout.certificate_table.offset);

  for (std::size_t block : {1u, 2u, 3u, 5u, 16u, 48u, 511u, 4096u, 1u << 20}) {
    EXPECT_EQ(CoveredBytesInBlocks(image, layout, block), expected) << "blocks of " << block;
  }
  // A block inside an excluded range has nothing to hash.
  EXPECT_EQ(CoveredPartsOf(layout, {layout.digest.offset + 1, 8}).count, 0u);
}

TEST(CopyOverlapTest, GathersTheSlotAcrossBlocks) {
  const Image image = MakeSealableImage();
  SealLayout layout;
  ASSERT_EQ(Layout(image, layout), SealFault::kNone);
  const Image expected(image.begin() + layout.slot.offset, image.begin() + layout.slot.End());
  for (std::size_t block : {1u, 7u, 40u, 0x600u, 0x610u, 0x1000u}) {
    Image slot(kSealSlotSize, 0xee);
    for (std::size_t at = 0; at < image.size(); at += block) {
      const std::size_t size = std::min(block, image.size() - at);
      CopyOverlap(layout.slot, slot, at, std::span(image).subspan(at, size));
    }
    EXPECT_EQ(slot, expected) << "blocks of " << block;
  }
  // Blocks before and after the range leave `out` alone.
  Image untouched(kSealSlotSize, 0xee);
  CopyOverlap(layout.slot, untouched, 0, std::span(image).first(layout.slot.offset));
  CopyOverlap(layout.slot, untouched, layout.slot.End(), std::span(image).subspan(layout.slot.End()));
  EXPECT_EQ(untouched, Image(kSealSlotSize, 0xee));
}

}  // namespace
}  // namespace orvel
