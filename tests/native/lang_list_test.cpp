// Rules over the list of language files: usable names, the default files, the
// user's named choice, the locale match of a "langcode" block.
#include "lang/language_list.h"

#include <gtest/gtest.h>

#include "base/builtin_texts.h"

namespace orvel {
namespace {

TEST(LanguageListTest, ExclamationMarkTakesAFileOutOfUse) {
  EXPECT_TRUE(IsUsableLangFileName("german.lng"));
  EXPECT_FALSE(IsUsableLangFileName("!german.lng"));
  EXPECT_FALSE(IsUsableLangFileName("ger!man.lng"));
  EXPECT_FALSE(IsUsableLangFileName("german.lng!"));
}

TEST(LanguageListTest, DefaultFilesInAnyLetterCase) {
  EXPECT_EQ(DefaultLangKindOf("english.lng"), DefaultLangKind::kEnglish);
  EXPECT_EQ(DefaultLangKindOf("ENGLISH.LNG"), DefaultLangKind::kEnglish);
  EXPECT_EQ(DefaultLangKindOf("Russian.Lng"), DefaultLangKind::kRussian);
  EXPECT_EQ(DefaultLangKindOf("english.lng "), DefaultLangKind::kNone);
  EXPECT_EQ(DefaultLangKindOf("english2.lng"), DefaultLangKind::kNone);
  EXPECT_EQ(DefaultLangKindOf("german.lng"), DefaultLangKind::kNone);
}

TEST(LanguageListTest, MissingDefaultFile) {
  const struct {
    bool russian_ui;
    std::int32_t russian;
    std::int32_t english;
    std::string_view missing;
  } cases[] = {
      {false, -1, 0, ""},
      {false, 0, -1, "english.lng"},
      {false, -1, -1, "english.lng"},
      {true, 1, 0, ""},
      {true, -1, 0, "russian.lng"},
      {true, 0, -1, "english.lng"},   // English is always required
      {true, -1, -1, "russian.lng"},  // both missing: Russian named first
  };
  for (const auto& c : cases) {
    EXPECT_EQ(MissingDefaultLangFile(c.russian_ui, c.russian, c.english), c.missing)
        << c.russian_ui << " " << c.russian << " " << c.english;
  }
}

TEST(LanguageListTest, ChosenNameMatchesExactly) {
  const std::vector<std::string> names = {"english.lng", "German.lng", "french.lng", "German.lng"};
  EXPECT_EQ(FindLangFileName(names, "German.lng"), 1);
  EXPECT_EQ(FindLangFileName(names, "german.lng"), -1);
  EXPECT_EQ(FindLangFileName(names, "french"), -1);
  EXPECT_EQ(FindLangFileName(names, ""), -1);
  EXPECT_EQ(FindLangFileName({}, "english.lng"), -1);
}

TEST(LanguageListTest, LangcodesMatch) {
  const struct {
    const char* block;
    std::uint32_t lcid;
    LocaleMatch match;
  } cases[] = {
      {"1049\r\n2073", 1049, LocaleMatch::kYes},
      {"1049\r\n2073", 2073, LocaleMatch::kYes},
      {"1049\r\n2073", 1033, LocaleMatch::kNo},
      {"", 1033, LocaleMatch::kNo},
      {"  1033", 1033, LocaleMatch::kYes},
      {"$409", 1033, LocaleMatch::kYes},
      {"-1", 0xffffffffu, LocaleMatch::kYes},         // the full 32 bits are compared
      {"1049", 0x10419, LocaleMatch::kNo},
      {"1049\r\n1049 ", 1049, LocaleMatch::kBroken},  // broken even after a match
      {"x\r\n1049", 1049, LocaleMatch::kBroken},
      {"1049\r\n", 1049, LocaleMatch::kBroken},        // an empty piece is no integer
  };
  for (const auto& c : cases) EXPECT_EQ(LangcodesMatch(c.block, c.lcid), c.match) << c.block << " / " << c.lcid;
}

TEST(LanguageListTest, BuiltInMessagesNameTheFile) {
  EXPECT_EQ(MissingLangFileMessageEn("english.lng"), std::string(kNoLangFileEn1) + "english.lng" + std::string(kNoLangFileEn2));
  EXPECT_EQ(BrokenLangFileMessageEn("GERMAN.LNG"), "GERMAN.LNG" + std::string(kLangFileErrorsEn2));
  // Windows-1251: "Работа без файла russian.lng невозможна!..." and "Файл x.lng содержит ошибки!..."
  EXPECT_TRUE(MissingLangFileMessageRu("russian.lng")
                  .starts_with("\320\340\341\356\362\340 \341\345\347 \364\340\351\353\340 russian.lng \355"));
  EXPECT_TRUE(BrokenLangFileMessageRu("x.lng").starts_with("\324\340\351\353 x.lng \361\356\344\345\360\346\350\362"));
}

}  // namespace
}  // namespace orvel
