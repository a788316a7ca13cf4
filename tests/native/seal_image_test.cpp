// Sealing an image as the build tool does: the digest in the slot, the PE checksum,
// padding, refusals; and which later changes the seal notices.
#include "install/integrity_seal.h"

#include <gtest/gtest.h>

#include "seal_test_image.h"

namespace orvel {
namespace {

using test::Image;
using test::MakeSealableImage;

std::uint32_t Load32(const Image& image, std::size_t at) {
  return image[at] | (image[at + 1] << 8) | (image[at + 2] << 16) | (static_cast<std::uint32_t>(image[at + 3]) << 24);
}

constexpr std::size_t kChecksumOffset = test::kOptionalOffset + 64;
constexpr std::size_t kDigestOffset = test::kSlotOffset + kSealMarkerSize;

bool Intact(const Image& image) {
  bool intact = true;
  EXPECT_EQ(CheckSealedImage(image, intact), SealFault::kNone);
  return intact;
}

TEST(PeChecksumOfTest, FoldsCarriesSkipsTheFieldAndAddsTheSize) {
  // Words 0x0001 + 0x0002, field at 8 ignored, plus 10 bytes.
  EXPECT_EQ(PeChecksumOf(Image{1, 0, 2, 0, 0, 0, 0, 0, 0xff, 0xff}, 8), 3u + 10u);
  // 0xffff + 0x0002 = 0x10001, folded to 0x0002.
  EXPECT_EQ(PeChecksumOf(Image{0xff, 0xff, 2, 0}, 100), 2u + 4u);
  // An odd last byte counts as the low byte of a word.
  EXPECT_EQ(PeChecksumOf(Image{0, 1, 5}, 100), 0x100u + 5u + 3u);
  // Only the four bytes of the field are skipped, even at an odd offset.
  EXPECT_EQ(PeChecksumOf(Image{0, 9, 9, 9, 9, 1}, 1), 0x100u + 6u);
  EXPECT_EQ(PeChecksumOf(Image{}, 0), 0u);
}

TEST(SealImageTest, WritesOnlyTheDigestAndTheChecksum) {
  for (bool pe32_plus : {true, false}) {
    Image image = MakeSealableImage(pe32_plus);
    const Image unsealed = image;
    ASSERT_EQ(SealImage(image), SealFault::kNone);
    ASSERT_EQ(image.size(), unsealed.size());

    // Only the digest and the checksum changed.
    for (std::size_t at = 0; at < image.size(); ++at) {
      const bool in_digest = at >= kDigestOffset && at < kDigestOffset + kSealDigestSize;
      const bool in_checksum = at >= kChecksumOffset && at < kChecksumOffset + 4;
      if (!in_digest && !in_checksum) {
        ASSERT_EQ(image[at], unsealed[at]) << at;
      }
    }
    EXPECT_EQ(Load32(image, kChecksumOffset), PeChecksumOf(image, kChecksumOffset));
    EXPECT_NE(Load32(image, kChecksumOffset), 0u);
    EXPECT_TRUE(Intact(image));

    // Sealing again changes nothing.
    const Image sealed = image;
    ASSERT_EQ(SealImage(image), SealFault::kNone);
    EXPECT_EQ(image, sealed);
  }
}

TEST(SealImageTest, PadsToEightBytesSoASignatureNeedsNoPadding) {
  Image image = MakeSealableImage();
  image.resize(image.size() + 3, 0x11);  // data after the last section
  ASSERT_EQ(SealImage(image), SealFault::kNone);
  EXPECT_EQ(image.size(), 0xc08u);
  EXPECT_EQ(image[0xc02], 0x11);
  EXPECT_EQ(image[0xc03], 0);
  EXPECT_TRUE(Intact(image));
}

TEST(SealImageTest, RefusesAndLeavesTheFileAlone) {
  const struct {
    const char* what;
    void (*change)(Image&);
    SealFault fault;
  } cases[] = {
      {"text file", [](Image& i) { i.assign(100, 'x'); }, SealFault::kNotPe},
      {"no slot", [](Image& i) { i[test::SectionTableOffset(true) + 40 + 2] = 'x'; }, SealFault::kNoSlot},
      {"no marker", [](Image& i) { i[test::kSlotOffset] ^= 1; }, SealFault::kBadSlot},
      {"signed", [](Image& i) { test::AppendCertificateTable(i, 0x20); }, SealFault::kAlreadySigned},
  };
  for (const auto& c : cases) {
    Image image = MakeSealableImage();
    c.change(image);
    const Image before = image;
    EXPECT_EQ(SealImage(image), c.fault) << c.what;
    EXPECT_EQ(image, before) << c.what;
    EXPECT_STRNE(SealFaultText(c.fault), SealFaultText(SealFault::kNone));
  }
}

TEST(CheckSealedImageTest, NoticesEveryChangeButThoseOfSigning) {
  Image sealed = MakeSealableImage();
  ASSERT_EQ(SealImage(sealed), SealFault::kNone);
  const std::size_t entry = test::CertificateEntryOffset(true);

  // Any covered byte changed (the marker and the headers included): the file fails.
  for (std::size_t at = 0; at < sealed.size(); ++at) {
    const bool excluded = (at >= kChecksumOffset && at < kChecksumOffset + 4) || (at >= entry && at < entry + 8) ||
                          (at >= kDigestOffset && at < kDigestOffset + kSealDigestSize);
    if (excluded) continue;
    Image changed = sealed;
    changed[at] ^= 0x20;
    bool intact = true;
    const SealFault fault = CheckSealedImage(changed, intact);
    EXPECT_FALSE(intact) << "byte " << at << " changed, fault " << static_cast<int>(fault);
  }
  // The digest itself changed.
  Image changed = sealed;
  changed[kDigestOffset + 31] ^= 1;
  EXPECT_FALSE(Intact(changed));
  // Appended or cut off.
  changed = sealed;
  changed.push_back(0);
  EXPECT_FALSE(Intact(changed));
  changed = sealed;
  changed.pop_back();
  EXPECT_FALSE(Intact(changed));

  // What signing does: a table at the end, its entry, a new checksum.
  Image signed_image = sealed;
  test::AppendCertificateTable(signed_image, 0x120);
  test::Put32(signed_image, kChecksumOffset, PeChecksumOf(signed_image, kChecksumOffset));
  EXPECT_TRUE(Intact(signed_image));
  // After signing, code changed or bytes appended do not pass.
  changed = signed_image;
  changed[0x410] ^= 1;
  EXPECT_FALSE(Intact(changed));
  changed = signed_image;
  changed.push_back(0);
  bool intact = true;
  EXPECT_EQ(CheckSealedImage(changed, intact), SealFault::kBadCertificateTable);
  EXPECT_FALSE(intact);

  // Never sealed: the zero digest does not match.
  EXPECT_FALSE(Intact(MakeSealableImage()));
}

}  // namespace
}  // namespace orvel
