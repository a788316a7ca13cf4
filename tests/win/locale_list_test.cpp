// The process's locale list: built once, with the locales that have a three-letter
// language abbreviation.
#include "sys/locale_list_win.h"

#include <windows.h>

#include <gtest/gtest.h>

namespace orvel {
namespace {

TEST(LocaleListTest, BuiltOnceWithEnglishUnitedStatesAsEnu) {
  const TLanguagesDEPfix& first = LocaleListAccessor();
  const TSysLangs& locales = first.Locales();
  ASSERT_FALSE(locales.empty());
  const TLangRec* english = nullptr;
  for (const TLangRec& locale : locales) {
    EXPECT_FALSE(locale.abbreviation.empty()) << locale.lcid;
    EXPECT_FALSE(locale.name.empty()) << locale.lcid;
    if (locale.lcid == 1033) english = &locale;
  }
  ASSERT_NE(english, nullptr);
  EXPECT_EQ(english->abbreviation, "ENU");

  char name[256] = {};
  ASSERT_GT(::GetLocaleInfoA(1033, LOCALE_SLANGUAGE, name, sizeof name), 0);
  EXPECT_EQ(english->name, name);

  // The same list, not a second enumeration.
  const TLanguagesDEPfix& second = LocaleListAccessor();
  EXPECT_EQ(&second, &first);
  EXPECT_EQ(second.Locales().data(), locales.data());
  EXPECT_EQ(second.Locales().size(), locales.size());
}

TEST(LocaleListTest, HoldsEverySupportedLocaleThatHasAnAbbreviation) {
  // Russian and German have abbreviations on every Windows; the list follows the
  // system's own enumeration, so both are in it exactly once.
  for (std::uint32_t lcid : {0x0419u, 0x0407u}) {
    int count = 0;
    std::string abbreviation;
    for (const TLangRec& locale : LocaleListAccessor().Locales()) {
      if (locale.lcid == lcid) {
        ++count;
        abbreviation = locale.abbreviation;
      }
    }
    EXPECT_EQ(count, 1) << lcid;
    EXPECT_EQ(abbreviation, lcid == 0x0419u ? "RUS" : "DEU");
  }
}

}  // namespace
}  // namespace orvel
