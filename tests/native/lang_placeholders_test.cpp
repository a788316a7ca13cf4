// Filling "%1".."%4" with its chain rule.
#include "lang/placeholders.h"

#include "lang/language_file_format.h"

#include <gtest/gtest.h>

#include <vector>

namespace orvel {
namespace {

TEST(FillPlaceholdersTest, ChainRule) {
  const struct {
    const char* text;
    std::vector<std::string_view> args;
    const char* expected;
  } cases[] = {
      {"no placeholders", {"A"}, "no placeholders"},
      {"%1", {"A"}, "A"},
      {"%1 and %1", {"A"}, "A and A"},
      {"%1 %2", {"A", "B"}, "A B"},
      {"%2 %1", {"A", "B"}, "B A"},
      {"%2 without the first", {"A", "B"}, "%2 without the first"},
      {"%1 %3, no second", {"A", "B", "C"}, "A %3, no second"},
      {"%4 %1", {"A", "B", "C", "D"}, "%4 A"},
      {"%1%2%3%4%5", {"a", "b", "c", "d", "e"}, "abcd%5"},
      {"%1", {"%2", "B"}, "B"},          // an argument's placeholder is filled later
      {"%2%1", {"%2", "B"}, "BB"},
      {"%1", {"%1"}, "%1"},               // inserted text is not searched again
      {"%10", {"A"}, "A0"},
      {"%%1%", {"A"}, "%A%"},
      {"100%", {"A"}, "100%"},
      {"%1\r\n%2", {"x\r\ny", "z"}, "x\r\ny\r\nz"},
      {"", {"A"}, ""},
  };
  for (const auto& c : cases) EXPECT_EQ(FillPlaceholders(c.text, c.args), c.expected) << c.text;
}

TEST(FillPlaceholdersTest, PlaceholdersBeyondTheArgumentsBecomeEmpty) {
  const struct {
    const char* text;
    std::vector<std::string_view> args;
    const char* expected;
  } cases[] = {
      {"[%1] [%2]", {"A"}, "[A] []"},
      {"[%1] [%2]", {}, "[] []"},
      {"[%1] [%2] [%3] [%4]", {"A", "B"}, "[A] [B] [] []"},
      {"[%1]", {"%2"}, "[]"},  // reached through the argument: still empty
  };
  for (const auto& c : cases) EXPECT_EQ(FillPlaceholders(c.text, c.args), c.expected) << c.text;
}

TEST(FillPlaceholdersTest, FilledTextsStopAtTheTextLimit) {
  // A thousand placeholders filled with one long argument would make 64 MiB.
  std::string many;
  for (int i = 0; i < 1000; ++i) many += "%1";
  const std::string arg(kMaxLangTextSize, 'a');
  const std::vector<std::string_view> args = {arg};
  EXPECT_EQ(FillPlaceholders(many, args), std::string(kMaxLangTextSize, 'a'));
  EXPECT_EQ(FillPlaceholders("ab%1", args), "ab" + std::string(kMaxLangTextSize - 2, 'a'));
}

}  // namespace
}  // namespace orvel
