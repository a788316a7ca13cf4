// The sample language files of the demo installation hold every key the installer
// reads, with the integers and placeholders the installer relies on.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "lang/language_file_format.h"
#include "lang/language_list.h"

namespace orvel {
namespace {

std::string ReadSample(const std::string& name) {
  std::string bytes;
  const std::string path = std::string(ORVEL_SOURCE_DIR) + "/testdata/language/" + name;
  if (FILE* file = std::fopen(path.c_str(), "rb")) {
    char buffer[4096];
    std::size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, file)) != 0) bytes.append(buffer, got);
    std::fclose(file);
  }
  return bytes;
}

LookupResult Line(const std::string& file, std::string_view key) {
  MemoryByteSource source(file);
  return LookupLine(source, key);
}

LookupResult Block(const std::string& file, std::string_view key) {
  MemoryByteSource source(file);
  return LookupBlock(source, key, false);
}

struct Sample {
  const char* name;
  std::uint32_t own_lcid;
  std::int32_t charset;
};

TEST(SampleLanguageFilesTest, HoldEveryKeyTheInstallerReads) {
  const Sample samples[] = {{"english.lng", 1033, 0}, {"russian.lng", 1049, 204}, {"german.lng", 1031, 0}};
  const char* line_keys[] = {"progname", "ProgDescr0", "langname", "installdone", "liveupdatecaption",
                             "asktorun", "soundquest", "starmoths"};
  const char* block_keys[] = {"verificationfail", "badinstaller", "noright", "filecantopen", "installask",
                              "olderfilever"};
  for (const Sample& sample : samples) {
    SCOPED_TRACE(sample.name);
    const std::string file = ReadSample(sample.name);
    ASSERT_FALSE(file.empty());
    for (const char* key : line_keys) EXPECT_EQ(Line(file, key).status, LookupStatus::kFound) << key;
    for (const char* key : block_keys) EXPECT_EQ(Block(file, key).status, LookupStatus::kFound) << key;

    std::int32_t value = 0;
    EXPECT_TRUE(ParseLangInteger(Line(file, "langver").text, value));
    ASSERT_TRUE(ParseLangInteger(Line(file, "langcharset").text, value));
    EXPECT_EQ(value, sample.charset);
    ASSERT_TRUE(ParseLangInteger(Line(file, "langcode").text, value));
    EXPECT_EQ(static_cast<std::uint32_t>(value), sample.own_lcid);
    EXPECT_EQ(LangcodesMatch(Block(file, "langcode").text, sample.own_lcid), LocaleMatch::kYes);

    // The arguments the installer passes must all land somewhere.
    EXPECT_NE(Block(file, "filecantopen").text.find("%1"), std::string::npos);
    EXPECT_NE(Block(file, "olderfilever").text.find("%1"), std::string::npos);
    EXPECT_NE(Line(file, "installdone").text.find("%1"), std::string::npos);
    const std::string ask = Block(file, "installask").text;
    EXPECT_NE(ask.find("%1"), std::string::npos);
    EXPECT_NE(ask.find("%2"), std::string::npos);
  }
}

TEST(SampleLanguageFilesTest, RussianIsWindows1251) {
  const std::string file = ReadSample("russian.lng");
  // "Орвел" in Windows-1251, not in UTF-8.
  EXPECT_EQ(Line(file, "progname").text, "\316\360\342\345\353");
  EXPECT_EQ(LangcodesMatch(Block(file, "langcode").text, 2073), LocaleMatch::kYes);
}

}  // namespace
}  // namespace orvel
