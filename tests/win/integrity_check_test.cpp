// The installer's integrity check under Wine: CNG's SHA-256 against the NIST
// vectors, the sealed installers of the build, altered copies of the win64 one, and
// the one message of each failure.
#include "install/integrity_check.h"

#include <gtest/gtest.h>

#include <cstring>

#include "install/integrity_cng_win.h"
#include "install/integrity_layout.h"
#include "install/integrity_slot_win.h"
#include "lang_fixture.h"
#include "robot/dialog_robot.h"
#include "scratch.h"
#include "sha256_vectors.h"
#include "sys/system_library_win.h"

namespace orvel {
namespace {

using test::ScratchFolder;

using test::Bytes;
using test::Hex;

TEST(CngSha256Test, NistVectorsWholeAndInPieces) {
  for (std::size_t piece : {std::size_t{1} << 30, std::size_t{63}, std::size_t{4099}}) {
    for (const auto& vector : test::kSha256Vectors) {
      CngSha256 hash;
      ASSERT_TRUE(hash.IsReady());
      const std::span<const std::uint8_t> all = Bytes(vector.message);
      for (std::size_t at = 0; at < all.size(); at += piece) {
        ASSERT_TRUE(hash.Update(all.subspan(at, std::min(piece, all.size() - at))));
      }
      Sha256Digest digest;
      ASSERT_TRUE(hash.Finish(digest));
      EXPECT_EQ(Hex(digest), vector.digest) << vector.message.size() << " bytes in pieces of " << piece;
      EXPECT_FALSE(hash.Update(all));  // finished: no second use
    }
  }
}

// The folder of this test program: <build>\tests\win\.
std::string TestProgramFolder() {
  char path[MAX_PATH] = {};
  const DWORD length = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder(path, length);
  return folder.substr(0, folder.rfind('\\') + 1);
}

// OrvelUpdate.exe of this build (win64) or of the preset beside it (win32).
std::string BuiltInstaller(const char* preset) {
  const std::string build = TestProgramFolder() + "..\\..\\";
  return preset == nullptr ? build + "OrvelUpdate.exe" : build + "..\\" + preset + "\\OrvelUpdate.exe";
}

TEST(CheckFileIntegrityTest, TheBuiltInstallersAreSealedAndPass) {
  const std::string win64 = BuiltInstaller(nullptr);
  ASSERT_TRUE(test::Exists(win64)) << win64;
  EXPECT_EQ(CheckFileIntegrity(win64), IntegrityResult::kIntact);
  // The shipped i686 build, when it was built in the same tree.
  const std::string win32 = BuiltInstaller("win32");
  if (test::Exists(win32)) EXPECT_EQ(CheckFileIntegrity(win32), IntegrityResult::kIntact) << win32;
}

TEST(CheckFileIntegrityTest, TheSealedInstallerHasTheRightPeChecksum) {
  // imagehlp's own computation, for a second opinion on the seal tool's.
  using MapFileAndCheckSumFn = DWORD(WINAPI*)(PCSTR, DWORD*, DWORD*);
  const ScopedLibrary imagehlp = LoadSystemLibrary("imagehlp.dll");
  ASSERT_TRUE(imagehlp);
  const auto map_and_check = reinterpret_cast<MapFileAndCheckSumFn>(
      reinterpret_cast<void*>(::GetProcAddress(imagehlp.Get(), "MapFileAndCheckSumA")));
  ASSERT_NE(map_and_check, nullptr);
  DWORD in_header = 0;
  DWORD computed = 0;
  ASSERT_EQ(map_and_check(BuiltInstaller(nullptr).c_str(), &in_header, &computed), 0u);
  EXPECT_NE(in_header, 0u);
  EXPECT_EQ(in_header, computed);
}

// Where a section's raw data lies in a PE file's bytes; empty when it has none.
ByteRange SectionData(const std::string& image, const char* name) {
  auto load = [&](std::size_t at, int size) {
    std::uint32_t value = 0;
    for (int i = size - 1; i >= 0; --i) value = (value << 8) | static_cast<std::uint8_t>(image[at + i]);
    return value;
  };
  const std::size_t pe = load(0x3c, 4);
  const std::size_t count = load(pe + 6, 2);
  const std::size_t table = pe + 24 + load(pe + 20, 2);
  for (std::size_t i = 0; i < count; ++i) {
    const std::size_t header = table + 40 * i;
    if (image.compare(header, std::strlen(name), name) == 0 && image[header + std::strlen(name)] == '\0') {
      return {load(header + 20, 4), load(header + 16, 4)};
    }
  }
  return {};
}

TEST(CheckFileIntegrityTest, EveryAlteredCopyFails) {
  const std::string original = test::ReadBytes(BuiltInstaller(nullptr));
  ASSERT_GT(original.size(), 1000000u);
  SealLayout layout;
  ASSERT_EQ(FindSealLayout(Bytes(original).first(kSealHeadSize), original.size(), layout), SealFault::kNone);
  const ByteRange code = SectionData(original, ".text");
  const ByteRange resources = SectionData(original, ".rsrc");
  ASSERT_GT(code.size, 0u);
  ASSERT_GT(resources.size, 1000000u);  // the package is in there
  const std::size_t pe = static_cast<std::uint8_t>(original[0x3c]) | (static_cast<std::uint8_t>(original[0x3d]) << 8);

  const struct {
    const char* what;
    std::uint64_t offset;
    IntegrityResult result;
  } flips[] = {
      {"MZ signature", 0, IntegrityResult::kUnreadable},
      {"DOS stub", 0x40, IntegrityResult::kMismatch},
      {"PE signature", pe, IntegrityResult::kUnreadable},
      {"time stamp of the PE header", pe + 8, IntegrityResult::kMismatch},
      {"entry point", pe + 24 + 16, IntegrityResult::kMismatch},
      {"name in the section table", pe + 24 + 0xf0 + 1, IntegrityResult::kMismatch},
      {"start of the code", code.offset, IntegrityResult::kMismatch},
      {"middle of the code", code.offset + code.size / 2, IntegrityResult::kMismatch},
      {"the package resource", resources.offset + resources.size / 2, IntegrityResult::kMismatch},
      {"just before the slot", layout.slot.offset - 1, IntegrityResult::kMismatch},
      {"the slot's marker", layout.slot.offset + 3, IntegrityResult::kUnreadable},
      {"the digest", layout.digest.offset + 17, IntegrityResult::kMismatch},
      {"just after the slot", layout.slot.End(), IntegrityResult::kMismatch},
      {"last byte", original.size() - 1, IntegrityResult::kMismatch},
      // Left out for signing: a signer rewrites it.
      {"PE checksum", layout.checksum.offset, IntegrityResult::kIntact},
  };
  ScratchFolder scratch;
  const std::string copy = scratch.Path() + "OrvelUpdate.exe";
  for (const auto& flip : flips) {
    std::string changed = original;
    changed[flip.offset] = static_cast<char>(changed[flip.offset] ^ 0x20);
    test::WriteBytes(copy, changed);
    EXPECT_EQ(CheckFileIntegrity(copy), flip.result) << flip.what << " at " << flip.offset;
  }

  const struct {
    const char* what;
    std::string bytes;
    IntegrityResult result;
  } reshaped[] = {
      {"one byte cut off", original.substr(0, original.size() - 1), IntegrityResult::kMismatch},
      {"cut before the slot's end", original.substr(0, layout.slot.End() - 1), IntegrityResult::kUnreadable},
      {"cut inside the headers", original.substr(0, 300), IntegrityResult::kUnreadable},
      {"empty", "", IntegrityResult::kUnreadable},
      {"one byte appended", original + '\0', IntegrityResult::kMismatch},
      {"4 KiB appended", original + std::string(4096, 'x'), IntegrityResult::kMismatch},
      {"never sealed", original.substr(0, layout.digest.offset) + std::string(kSealDigestSize, '\0') +
                           original.substr(layout.digest.End()),
       IntegrityResult::kMismatch},
  };
  for (const auto& c : reshaped) {
    test::WriteBytes(copy, c.bytes);
    EXPECT_EQ(CheckFileIntegrity(copy), c.result) << c.what;
  }
}

TEST(CheckFileIntegrityTest, WhatCannotBeOpenedIsUnreadable) {
  ScratchFolder scratch;
  EXPECT_EQ(CheckFileIntegrity(scratch.Path() + "missing.exe"), IntegrityResult::kUnreadable);
  EXPECT_EQ(CheckFileIntegrity(scratch.Path()), IntegrityResult::kUnreadable);  // a folder
  // Held open without sharing by another program.
  const std::string copy = scratch.Path() + "held.exe";
  test::WriteBytes(copy, test::ReadBytes(BuiltInstaller(nullptr)));
  ScopedFileHandle held(::CreateFileA(copy.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
  ASSERT_TRUE(held);
  EXPECT_EQ(CheckFileIntegrity(copy), IntegrityResult::kUnreadable);
  held.Reset();
  EXPECT_EQ(CheckFileIntegrity(copy), IntegrityResult::kIntact);
}

// The boxes that CheckInstallerIntegrity shows, as UTF-8 texts.
std::vector<std::string> MessagesOfCheckInstallerIntegrity(bool& passed) {
  test::DialogRobot robot;
  passed = CheckInstallerIntegrity();
  std::vector<std::string> texts;
  for (const test::SeenDialog& seen : robot.Seen()) texts.push_back(seen.text);
  return texts;
}

// With a language file whose two texts differ, so that each box shows which key it took.
class CheckInstallerIntegrityTest : public test::LangTest {
 protected:
  void SetUp() override {
    LangTest::SetUp();
    Write("english.lng", test::LangFileText("English", "1033",
                                            "[badinstaller]\r\nThis installer is damaged.\r\n\r\n"
                                            "[verificationfail]\r\nThis installer cannot read itself.\r\n\r\n"));
    ASSERT_TRUE(LoadLanguageFiles());
  }
};

TEST_F(CheckInstallerIntegrityTest, AnUnsealedProgramShowsBadInstallerOnce) {
  // This test program carries the slot but was never sealed, like a build that skipped the tool.
  ASSERT_TRUE(std::equal(kSealMarker.begin(), kSealMarker.end(), OrvelSealSlot.marker.begin()));
  bool passed = true;
  const std::vector<std::string> texts = MessagesOfCheckInstallerIntegrity(passed);
  EXPECT_FALSE(passed);
  EXPECT_EQ(texts, std::vector<std::string>{"This installer is damaged."});
}

TEST_F(CheckInstallerIntegrityTest, AnOwnFileThatCannotBeOpenedShowsVerificationFailOnce) {
  char path[MAX_PATH] = {};
  ASSERT_GT(::GetModuleFileNameA(nullptr, path, MAX_PATH), 0u);
  ScopedFileHandle held(::CreateFileA(path, GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
  ASSERT_TRUE(held) << "cannot hold the test program's own file without sharing";
  bool passed = true;
  const std::vector<std::string> texts = MessagesOfCheckInstallerIntegrity(passed);
  EXPECT_FALSE(passed);
  EXPECT_EQ(texts, std::vector<std::string>{"This installer cannot read itself."});
}

}  // namespace
}  // namespace orvel
