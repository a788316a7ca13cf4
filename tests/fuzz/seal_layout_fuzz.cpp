// The installer's own file as it reads it before the digest has been checked: any
// bytes, any file size, headers read from the first block only. The layout found
// must lie in the file, the digest must cover every byte but the excluded ones however
// the file is cut into blocks, and sealing must give a file that checks as intact.
//
// Input: a settings byte, a block size, maybe a count of bytes past the input, then
// the file.
#include <algorithm>
#include <array>
#include <vector>

#include "fuzz_input.h"
#include "fuzz_targets.h"
#include "install/integrity_layout.h"
#include "install/integrity_seal.h"

namespace orvel::fuzz {

namespace {

bool Within(const ByteRange& range, std::uint64_t file_size) {
  return range.offset <= file_size && range.size <= file_size - range.offset;
}

bool SameRanges(const std::vector<ByteRange>& a, const std::vector<ByteRange>& b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                    [](const ByteRange& x, const ByteRange& y) { return x.offset == y.offset && x.size == y.size; });
}

// Walks the file in blocks as the installer does: the covered parts of all blocks,
// joined where a part goes on in the next block, must be exactly the bytes outside
// the four excluded ranges, and the slot must be picked up whole.
void CheckBlockWalk(const SealLayout& layout, std::span<const std::uint8_t> file, std::size_t block) {
  std::vector<ByteRange> gaps;
  for (const ByteRange& gap : {layout.checksum, layout.certificate_entry, layout.digest, layout.certificate_table})
    if (gap.size > 0) gaps.push_back(gap);
  std::sort(gaps.begin(), gaps.end(), [](const ByteRange& a, const ByteRange& b) { return a.offset < b.offset; });
  std::vector<ByteRange> expected;
  std::uint64_t next = 0;
  for (const ByteRange& gap : gaps) {
    if (gap.offset > next) expected.push_back({next, gap.offset - next});
    next = std::max(next, gap.End());
  }
  if (next < file.size()) expected.push_back({next, file.size() - next});

  std::vector<ByteRange> walked;
  std::array<std::uint8_t, kSealSlotSize> slot = {};
  for (std::uint64_t offset = 0; offset < file.size(); offset += block) {
    const std::uint64_t length = std::min<std::uint64_t>(block, file.size() - offset);
    const CoveredParts parts = CoveredPartsOf(layout, {offset, length});
    FUZZ_CHECK(parts.count <= parts.parts.size());
    for (std::size_t i = 0; i < parts.count && i < parts.parts.size(); ++i) {
      const ByteRange& part = parts.parts[i];
      FUZZ_CHECK(part.size > 0 && part.offset >= offset && part.End() <= offset + length);
      if (!walked.empty() && walked.back().End() == part.offset) {
        walked.back().size += part.size;
      } else {
        walked.push_back(part);
      }
    }
    CopyOverlap(layout.slot, slot, offset, file.subspan(offset, length));
  }
  FUZZ_CHECK(SameRanges(walked, expected));
  FUZZ_CHECK(std::equal(slot.begin(), slot.end(), file.begin() + layout.slot.offset));
}

}  // namespace

void SealLayoutInput(const std::uint8_t* data, std::size_t size) {
  FuzzInput in(data, size);
  const std::uint8_t settings = in.Byte();
  const std::size_t block = 1 + in.Word() % 4096;
  const std::uint16_t unread = (settings & 2) ? in.Word() : 0;
  const std::string_view rest = in.Rest();
  const std::span<const std::uint8_t> file(reinterpret_cast<const std::uint8_t*>(rest.data()), rest.size());

  // The installer reads the headers from its first block; a file may also claim to
  // be longer than what was read of it.
  const std::size_t head_size = (settings & 1) ? std::min<std::size_t>(file.size(), block) : file.size();
  const std::uint64_t claimed_size = file.size() + unread;
  SealLayout layout;
  if (FindSealLayout(file.first(head_size), claimed_size, layout) == SealFault::kNone) {
    FUZZ_CHECK(layout.file_size == claimed_size);
    for (const ByteRange& range : {layout.checksum, layout.certificate_entry, layout.slot, layout.certificate_table})
      FUZZ_CHECK(Within(range, claimed_size));
    FUZZ_CHECK(layout.digest.offset >= layout.slot.offset && layout.digest.End() <= layout.slot.End());
    if (claimed_size == file.size()) CheckBlockWalk(layout, file, block);
  }

  bool intact = false;
  CheckSealedImage(file, intact);
  std::vector<std::uint8_t> image(file.begin(), file.end());
  if (SealImage(image) == SealFault::kNone) {
    FUZZ_CHECK(CheckSealedImage(image, intact) == SealFault::kNone && intact);
    std::vector<std::uint8_t> again = image;
    FUZZ_CHECK(SealImage(again) == SealFault::kNone && again == image);
  }
}

}  // namespace orvel::fuzz
