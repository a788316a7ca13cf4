// The version readers on real files: fixed-offset package fields, language files'
// "langver", and executables' "FileVersion".
#include "install/version_readers.h"

#include <gtest/gtest.h>

#include "base/builtin_texts.h"
#include "base/scoped_handle_win.h"
#include "extract_fixtures.h"
#include "robot/dialog_robot.h"
#include "scratch.h"

namespace orvel {
namespace {

using namespace std::string_literals;
using test::BuiltInTexts;
using test::DialogRobot;
using test::EmbeddedBytes;
using test::ScratchFolder;
using test::WriteBytes;

ScopedFileHandle HoldOpen(const std::string& path, DWORD share) {
  return ScopedFileHandle(
      ::CreateFileA(path.c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
}

TEST(FixedOffsetReadersTest, ReadEachKindsFieldOrZero) {
  ScratchFolder scratch;
  struct Case {
    const char* name;
    std::string bytes;  // none: no such file
    std::int32_t pak, cok, three_bs;
  } cases[] = {
      {"full.pak", "vexa\x02\x06\x34\x12more"s, 4660, 0x3406, 0x34},
      {"eight.pak", "vexa\x02\x06\x34\x12"s, 4660, 0x3406, 0x34},
      {"seven.pak", "vexa\x02\x06\x34"s, 0, 0x3406, 0x34},
      {"six.pak", "vexa\x02\x06"s, 0, 0, 0},
      {"empty.pak", ""s, 0, 0, 0},
      {"high.cok", "vexa\x02\xff\xff\xff"s, 65535, 65535, 255},
  };
  for (const Case& c : cases) {
    const std::string path = scratch.Path() + c.name;
    WriteBytes(path, c.bytes);
    EXPECT_EQ(ReadPakVersion(path), c.pak) << c.name;
    EXPECT_EQ(ReadCokVersion(path), c.cok) << c.name;
    EXPECT_EQ(Read3bsVersion(path), c.three_bs) << c.name;
  }
  for (const std::string& path : {scratch.Path() + "missing.pak", scratch.Path()}) {
    EXPECT_EQ(ReadPakVersion(path), 0) << path;
    EXPECT_EQ(ReadCokVersion(path), 0) << path;
    EXPECT_EQ(Read3bsVersion(path), 0) << path;
  }
}

TEST(FixedOffsetReadersTest, AFileHeldOpenElsewhereReadsAsZero) {
  ScratchFolder scratch;
  const std::string path = scratch.Path() + "held.pak";
  WriteBytes(path, "vexa\x02\x06\x34\x12"s);
  {
    // Even a holder that shares everything: the readers want the file to themselves.
    ScopedFileHandle held = HoldOpen(path, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE);
    ASSERT_TRUE(held);
    EXPECT_EQ(ReadPakVersion(path), 0);
    EXPECT_EQ(ReadCokVersion(path), 0);
    EXPECT_EQ(Read3bsVersion(path), 0);
  }
  EXPECT_EQ(ReadPakVersion(path), 4660);
}

TEST(ReadLngVersionTest, ValueOrZeroWithTheMessage) {
  ScratchFolder scratch;
  const BuiltInTexts english(false);
  ::CreateDirectoryA((scratch.Path() + "lang!uage").c_str(), nullptr);
  struct Case {
    const char* name;
    std::string text;
    std::int32_t version;
    bool message;
  } cases[] = {
      {"plain.lng", "[LangVer]\r\n12\r\n", 12, false},
      {"lf.lng", "[progname]\nOrvel\n\n[langver] version\n-3", -3, false},
      {"lang!uage\\bang!.lng", "[langver]\r\n7\r\n", 7, false},  // "!" means nothing here
      {"blank.lng", "[langver]\r\n12 \r\n", 0, true},
      {"none.lng", "[progname]\r\nOrvel\r\n", 0, true},
      {"empty.lng", "[langver]\r\n\r\n12\r\n", 0, true},
      {"last.lng", "[langver]", 0, true},
      {"hex.lng", "[langver]\r\n$10\r\n", 0, true},
  };
  for (const Case& c : cases) {
    const std::string path = scratch.Path() + c.name;
    WriteBytes(path, c.text);
    DialogRobot robot;
    EXPECT_EQ(ReadLngVersion(path), c.version) << c.name;
    const auto seen = robot.Seen();
    ASSERT_EQ(seen.size(), c.message ? 1u : 0u) << c.name;
    if (c.message) {
      EXPECT_EQ(seen[0].caption, test::kTestTitleEn);
      EXPECT_EQ(seen[0].text, std::string(kCantHandleLangFileEn) + path);
    }
  }
}

TEST(ReadLngVersionTest, MissingIsSilentLockedTellsInRussianToo) {
  ScratchFolder scratch;
  const BuiltInTexts russian(true);
  DialogRobot robot;
  EXPECT_EQ(ReadLngVersion(scratch.Path() + "missing.lng"), 0);
  EXPECT_EQ(ReadLngVersion(scratch.Path()), 0);  // a folder is no file either
  EXPECT_TRUE(robot.Seen().empty());

  const std::string path = scratch.Path() + "locked.lng";
  WriteBytes(path, "[langver]\r\n12\r\n");
  {
    ScopedFileHandle held = HoldOpen(path, 0);
    ASSERT_TRUE(held);
    EXPECT_EQ(ReadLngVersion(path), 0);
  }
  const auto seen = robot.Seen();
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].caption, test::kTestTitleRu);  // the Russian caption of built-in messages
  EXPECT_EQ(seen[0].text, test::AsShown(std::string(kCantHandleLangFileRu) + path));
  // Readers share a language file with other readers.
  ScopedFileHandle reading = HoldOpen(path, FILE_SHARE_READ);
  ASSERT_TRUE(reading);
  EXPECT_EQ(ReadLngVersion(path), 12);
}

TEST(ReadExeFileVersionTest, FirstTranslationsFileVersionOrEmpty) {
  ScratchFolder scratch;
  char own_path[MAX_PATH] = {};
  ASSERT_GT(::GetModuleFileNameA(nullptr, own_path, MAX_PATH), 0u);
  struct Case {
    const char* name;
    std::string bytes;
    std::string version;
  } cases[] = {
      {"v1001.exe", EmbeddedBytes("EXE1001", "exe"), "1.0.0.1"},
      // Its second translation says 9.9.9.9.
      {"v1002.exe", EmbeddedBytes("EXE1002", "exe"), "1.0.0.2"},
      // Not an executable's name: the shell goes by the content.
      {"v1002.bin", EmbeddedBytes("EXE1002", "exe"), "1.0.0.2"},
      {"nofv.exe", EmbeddedBytes("EXENOFV", "exe"), ""},
      {"text.exe", "[langver]\r\n12\r\n", ""},
      {"short.exe", "MZ", ""},
  };
  for (const Case& c : cases) {
    ASSERT_GT(c.bytes.size(), 1u) << c.name;
    const std::string path = scratch.Path() + c.name;
    WriteBytes(path, c.bytes);
    EXPECT_EQ(ReadExeFileVersion(path), c.version) << c.name;
  }
  EXPECT_EQ(ReadExeFileVersion(scratch.Path() + "missing.exe"), "");
  EXPECT_EQ(ReadExeFileVersion(own_path), "");  // a program without a version resource
}

}  // namespace
}  // namespace orvel
