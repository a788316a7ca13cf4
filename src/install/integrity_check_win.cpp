// The installer's integrity check (see integrity_check.h): one pass over the file in
// large blocks, hashing the covered parts with CNG and picking up the seal on the way.
#include "install/integrity_check.h"

#include <windows.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "base/file_access_win.h"
#include "base/run_log.h"
#include "base/scoped_handle_win.h"
#include "install/integrity_cng_win.h"
#include "install/integrity_layout.h"
#include "lang/text_lookup.h"

namespace orvel {

namespace {

// Large enough for the headers to lie in the first block.
constexpr DWORD kBlockSize = 256 * 1024;
static_assert(kBlockSize >= kSealHeadSize);

IntegrityResult CheckOpenFile(HANDLE file) {
  LARGE_INTEGER size = {};
  if (!::GetFileSizeEx(file, &size) || size.QuadPart < 0) return IntegrityResult::kUnreadable;
  const std::uint64_t file_size = static_cast<std::uint64_t>(size.QuadPart);
  CngSha256 hash;
  if (!hash.IsReady()) return IntegrityResult::kUnreadable;

  std::vector<std::uint8_t> block(kBlockSize);
  SealLayout layout;
  std::array<std::uint8_t, kSealSlotSize> slot = {};
  std::uint64_t offset = 0;
  do {
    const std::size_t wanted = static_cast<std::size_t>(std::min<std::uint64_t>(block.size(), file_size - offset));
    DWORD filled = 0;
    if (!ReadUpTo(file, block.data(), static_cast<DWORD>(wanted), filled) || filled != wanted) {
      return IntegrityResult::kUnreadable;
    }
    const std::span<const std::uint8_t> chunk(block.data(), filled);
    if (offset == 0) {
      const SealFault fault = FindSealLayout(chunk, file_size, layout);
      // A certificate table anywhere but at the end: the file was changed after signing.
      if (fault == SealFault::kBadCertificateTable) return IntegrityResult::kMismatch;
      if (fault != SealFault::kNone) return IntegrityResult::kUnreadable;
    }
    const CoveredParts covered = CoveredPartsOf(layout, {offset, filled});
    for (std::size_t i = 0; i < covered.count; ++i) {
      if (!hash.Update(chunk.subspan(covered.parts[i].offset - offset, covered.parts[i].size))) {
        return IntegrityResult::kUnreadable;
      }
    }
    CopyOverlap(layout.slot, slot, offset, chunk);
    offset += filled;
  } while (offset < file_size);

  if (!HasSealMarker(slot)) return IntegrityResult::kUnreadable;
  Sha256Digest digest;
  if (!hash.Finish(digest)) return IntegrityResult::kUnreadable;
  return std::equal(digest.begin(), digest.end(), slot.begin() + kSealMarkerSize) ? IntegrityResult::kIntact
                                                                                   : IntegrityResult::kMismatch;
}

constexpr DWORD kShareReading = FILE_SHARE_READ;
constexpr DWORD kReadFlags = FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN;

// The installer's own file, opened by its wide path: the ANSI form of the path loses
// characters outside the user's code page, and a folder named with them would make
// every run fail.
ScopedFileHandle OpenOwnExecutable() {
  constexpr DWORD kLongestPath = 32768;
  const std::unique_ptr<wchar_t[]> path(new wchar_t[kLongestPath]);
  const DWORD length = ::GetModuleFileNameW(nullptr, path.get(), kLongestPath);
  if (length == 0 || length >= kLongestPath) return ScopedFileHandle();
  return ScopedFileHandle(
      ::CreateFileW(path.get(), GENERIC_READ, kShareReading, nullptr, OPEN_EXISTING, kReadFlags, nullptr));
}

}  // namespace

IntegrityResult CheckFileIntegrity(const std::string& path) {
  ScopedFileHandle file(
      ::CreateFileA(path.c_str(), GENERIC_READ, kShareReading, nullptr, OPEN_EXISTING, kReadFlags, nullptr));
  if (!file) return IntegrityResult::kUnreadable;
  return CheckOpenFile(file.Get());
}

bool CheckInstallerIntegrity() {
  const ScopedFileHandle file = OpenOwnExecutable();
  const IntegrityResult result = file ? CheckOpenFile(file.Get()) : IntegrityResult::kUnreadable;
  LogLine({"integrity check: ", result == IntegrityResult::kIntact     ? "intact"
                                : result == IntegrityResult::kMismatch ? "the installer is altered or damaged"
                                                                       : "the installer cannot be read"});
  switch (result) {
    case IntegrityResult::kIntact:
      return true;
    case IntegrityResult::kUnreadable:
      ShowError(LangTextBlock("verificationfail"));
      return false;
    case IntegrityResult::kMismatch:
      ShowError(LangTextBlock("badinstaller"));
      return false;
  }
  return false;
}

}  // namespace orvel
