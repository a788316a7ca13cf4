// The locale id of an enumerated locale text.
#include "sys/locale_text.h"

#include <gtest/gtest.h>

namespace orvel {
namespace {

TEST(LcidFromLocaleTextTest, TakesTheLastFourOfEightHexDigits) {
  struct Case {
    const char* text;
    bool ok;
    std::uint32_t lcid;
  } cases[] = {
      {"00000409", true, 0x0409}, {"00000419", true, 0x0419}, {"0000040C", true, 0x040C},
      {"0000040c", true, 0x040C}, {"00010407", true, 0x0407},  // the sort id is dropped
      {"0000FFFF", true, 0xFFFF}, {"0000000", false, 0},       {"0409", false, 0},
      {"", false, 0},             {"00000G09", false, 0},      {"0000 409", false, 0},
  };
  for (const Case& c : cases) {
    std::uint32_t lcid = 1;
    EXPECT_EQ(LcidFromLocaleText(c.text, lcid), c.ok) << c.text;
    EXPECT_EQ(lcid, c.lcid) << c.text;
  }
}

}  // namespace
}  // namespace orvel
