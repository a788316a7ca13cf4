// Version rules that need no Windows: dotted version comparison, decimal numbers,
// fixed-offset fields, the "langver" line, the version-resource path, the built-in
// older-version question and the progress window's geometry.
#include <gtest/gtest.h>

#include <string>

#include "base/builtin_texts.h"
#include "install/version_compare.h"
#include "install/version_fields.h"
#include "install/version_question.h"
#include "ui/progress_layout.h"

namespace orvel {
namespace {

using namespace std::string_literals;

TEST(IsOlderVersionTest, ComparesPartByPartAsNumbers) {
  struct Case {
    const char* fresh;
    const char* installed;
    bool older;
  } cases[] = {
      {"1.2.3.4", "1.2.3.10", true},
      {"1.2.3.10", "1.2.3.4", false},
      {"1.3.0.0", "1.2.9.9", false},
      {"1.2.9.9", "1.3.0.0", true},
      {"2.0.0.0", "10.0.0.0", true},  // numbers, not text
      {"1.2.3.4", "1.2.3.4", false},
      {"0.9.0.0", "1.0.0.0", true},
      {"1.0.0.0", "0.9.0.0", false},
      {"-1.0.0.0", "0.0.0.0", true},  // signed parts
      {"2147483647.0.0.0", "-2147483648.0.0.0", false},
      // A part that is not a number: Old's ends with false, New's with true, and Old
      // is looked at first within each pass.
      {"1.0.0.x", "1.0.0.1", true},
      {"1.0.0.1", "1.0.0.x", false},
      {"x.0.0.0", "1.0.0.0", true},
      {"1.0.0.0", "x.0.0.0", false},
      {"x.0.0.0", "y.0.0.0", false},
      {"1.0.0.0", "1.0.0.", false},   // an empty fourth part is not a number
      {"1.0.0.", "1.0.0.0", true},
      {"1. 4.0.0", "1.3.0.0", false},  // leading blanks are allowed in a part
      {"1.4 .0.0", "1.3.0.0", true},   // trailing ones are not
      {"1.0.0.2147483648", "1.0.0.1", true},  // beyond 32 bits: not a number
  };
  for (const Case& c : cases)
    EXPECT_EQ(IsOlderVersion(c.fresh, c.installed), c.older) << c.fresh << " vs " << c.installed;
}

TEST(IsOlderVersionTest, PartsBeforeTheFirstArePreviousOrZero) {
  struct Case {
    const char* fresh;
    const char* installed;
    bool older;
  } cases[] = {
      // Without any ".", a string is 0.0.0.<number>: plain numbers compare as numbers.
      {"5", "6", true},
      {"6", "5", false},
      {"7", "7", false},
      {"2", "1.0.0.0", true},
      {"1.0.0.0", "2", false},
      // Commas are no separators: the whole text is the fourth part, not a number.
      {"1,0,0,2", "1,0,0,1", false},
      {"1,0,0,1", "1.0.0.0", true},
      // With fewer than three dots, a part is repeated: "1.2" reads as 1.1.1.2.
      {"1.2", "1.1.1.3", true},
      {"1.2", "1.1.1.1", false},
      {"1.2", "1.2.0.0", true},
      // A leading "." is never taken off, so the last part holds it and is no number.
      {".1.0.0", "0.0.0.5", true},
      {"0.0.0.5", ".1.0.0", false},
  };
  for (const Case& c : cases)
    EXPECT_EQ(IsOlderVersion(c.fresh, c.installed), c.older) << c.fresh << " vs " << c.installed;
}

TEST(ParseDecimalInt32Test, WholeTextsOnly) {
  struct Case {
    const char* text;
    bool ok;
    std::int32_t value;
  } cases[] = {
      {"12", true, 12},        {"  12", true, 12},      {"+7", true, 7},
      {"-7", true, -7},        {"0", true, 0},          {"2147483647", true, 2147483647},
      {"-2147483648", true, INT32_MIN},                 {"2147483648", false, 0},
      {"-2147483649", false, 0}, {"99999999999", false, 0}, {"12 ", false, 0},
      {"", false, 0},          {" ", false, 0},         {"-", false, 0},
      {"1x", false, 0},        {"$10", false, 0},       {"0x10", false, 0},
      {"\t12", false, 0},      {"- 1", false, 0},
  };
  for (const Case& c : cases) {
    std::int32_t value = -99;
    EXPECT_EQ(ParseDecimalInt32(c.text, value), c.ok) << '"' << c.text << '"';
    if (c.ok) {
      EXPECT_EQ(value, c.value) << c.text;
    }
  }
}

TEST(VersionFieldValueTest, LittleEndianAtEachKindsOffset) {
  const std::string header = "vexa\x02\x78\x34\x12rest"s;
  EXPECT_EQ(VersionFieldValue(header, kPakVersionField), 0x1234);  // bytes 6 and 7
  EXPECT_EQ(VersionFieldValue(header, kCokVersionField), 0x3478);  // bytes 5 and 6
  EXPECT_EQ(VersionFieldValue(header, k3bsVersionField), 0x34);    // byte 6
  EXPECT_EQ(VersionFieldValue("vexa\x02\x06\xff\xff"s, kPakVersionField), 65535);  // unsigned
  EXPECT_EQ(VersionFieldValue("vexa\x02\x06\xfe"s, k3bsVersionField), 254);
  // The embedded package's 3bs field is the byte after its version.
  EXPECT_EQ(VersionFieldValue("vexa\x02\x06\x00\x00"s, k3bsVersionField), 0);

  // A file that ends inside the field has version 0.
  EXPECT_EQ(VersionFieldValue("vexa\x02\x06\x34"s, kPakVersionField), 0);  // 7 bytes
  EXPECT_EQ(VersionFieldValue("vexa\x02\x06"s, kCokVersionField), 0);
  EXPECT_EQ(VersionFieldValue("vexa\x02\x06"s, k3bsVersionField), 0);
  EXPECT_EQ(VersionFieldValue("", kPakVersionField), 0);
  EXPECT_LE(kPakVersionField.offset + kPakVersionField.width, kLongestVersionFieldEnd);
  EXPECT_LE(kCokVersionField.offset + kCokVersionField.width, kLongestVersionFieldEnd);
  EXPECT_LE(k3bsVersionField.offset + k3bsVersionField.width, kLongestVersionFieldEnd);
}

TEST(FindLangVersionValueTest, TheLineAfterTheFirstSectionLine) {
  struct Case {
    std::string text;
    bool found;
    std::string value;
  } cases[] = {
      {"[LangVer]\r\n12\r\n", true, "12"},
      {"[langver]\n12", true, "12"},                          // LF only, no last line end
      {"x=1\r\n[LANGVER] any text\r\n 7\r\n", true, " 7"},    // text after "]"
      {"[langver]\r\n12 \r\n", true, "12 "},                  // kept as it stands
      {"[langver]\r\n1\r2\r\n", true, "12"},                  // a lone CR is dropped
      {"[langver]\r\n3\r\n[langver]\r\n4\r\n", true, "3"},    // the first one counts
      {"[langver]", true, ""},                                 // the last line
      {"[langver]\r\n", true, ""},
      {"[langver]\r\n\r\n5\r\n", true, ""},
      {" [langver]\r\n12\r\n", false, ""},                     // "[" must come first
      {"[ langver]\r\n12\r\n", false, ""},
      {"[xlangver]\r\n12\r\n", false, ""},
      {"[langver\r\n12\r\n", false, ""},
      {"langver]\r\n12\r\n", false, ""},
      {"[langcode]\r\n1033\r\n", false, ""},
      {"", false, ""},
      {"[langver]\r\n\x1a" "12\r\n"s, true, ""},               // byte 26 ends the text
      {"\x1a[langver]\r\n12\r\n"s, false, ""},
  };
  for (const Case& c : cases) {
    std::string value = "stale";
    EXPECT_EQ(FindLangVersionValue(c.text, value), c.found) << c.text;
    EXPECT_EQ(value, c.value) << c.text;
  }
}

TEST(FileVersionSubBlockTest, FourLowerCaseHexDigitsEach) {
  EXPECT_EQ(FileVersionSubBlock(0x0419, 0x04e3), "\\StringFileInfo\\041904e3\\FileVersion");
  EXPECT_EQ(FileVersionSubBlock(0x0409, 0x04b0), "\\StringFileInfo\\040904b0\\FileVersion");
  EXPECT_EQ(FileVersionSubBlock(0, 0), "\\StringFileInfo\\00000000\\FileVersion");
  EXPECT_EQ(FileVersionSubBlock(0xABCD, 0xffff), "\\StringFileInfo\\abcdffff\\FileVersion");
}

TEST(OlderVersionQuestionTest, NamesTheInstalledVersionFirst) {
  EXPECT_EQ(OlderVersionQuestionEn("C:\\Orvel\\a.exe", "1.0.0.2", "1.0.0.1"),
            "C:\\Orvel\\a.exe" + std::string(kOlderQuestionEn1) + "1.0.0.2" + std::string(kOlderQuestionEn2) + "1.0.0.1?");
  const std::string russian = OlderVersionQuestionRu("C:\\Orvel\\a.cok", "9", "3");
  EXPECT_EQ(russian, std::string(kOlderQuestionRu1) + "C:\\Orvel\\a.cok\r\n" + std::string(kOlderQuestionRu2) +
                         std::string(kOlderQuestionRu3) + std::string(kOlderQuestionRu4) + "9" +
                         std::string(kOlderQuestionRu5) + "3?");
}

TEST(ProgressLayoutTest, CentredAndKeptOnTheScreen) {
  EXPECT_EQ(CenteredOrigin(1920, ProgressWindowWidth), 756);
  EXPECT_EQ(CenteredOrigin(1080, ProgressWindowHeight), 502);
  EXPECT_EQ(CenteredOrigin(1023, ProgressWindowWidth), 307);  // rounded down
  EXPECT_EQ(CenteredOrigin(409, ProgressWindowWidth), 0);
  EXPECT_EQ(CenteredOrigin(408, ProgressWindowWidth), 0);
  EXPECT_EQ(CenteredOrigin(300, ProgressWindowWidth), 0);  // never off the left edge
  EXPECT_EQ(CenteredOrigin(0, ProgressWindowWidth), 0);
}

}  // namespace
}  // namespace orvel
