// The installed version read from a package's leading bytes, and decimal texts.
#include "app/host_link.h"
#include "base/decimal_text.h"
#include "install/package_header.h"

#include <gtest/gtest.h>

#include <string>

namespace orvel {
namespace {

TEST(InstalledPackageVersionTest, ReadsTheVersionByteOfEachKind) {
  using namespace std::string_literals;
  struct Case {
    std::string bytes;
    bool is_3bs;
    std::int32_t version;
  } cases[] = {
      {"vexa\x02\x06rest"s, true, 6},
      {"vexa\x02\xff"s, true, 255},  // unsigned
      {"vexa\x02"s, true, 0},        // shorter than the header
      {""s, true, 0},
      {"vexa\x26\x06"s, false, 6},  // other kinds: byte 4 minus 32
      {"vexa"s, false, -32},
      {"vexa\x10"s, false, -16},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(InstalledPackageVersion(c.bytes, c.is_3bs), c.version) << c.bytes.size();
  }
}

TEST(Is3bsExtensionTest, ExactLowerCaseAnywhere) {
  EXPECT_TRUE(Is3bsExtension(".3bs"));
  EXPECT_TRUE(Is3bsExtension("x3bsy"));
  EXPECT_FALSE(Is3bsExtension(".3BS"));
  EXPECT_FALSE(Is3bsExtension(".pak"));
  EXPECT_FALSE(Is3bsExtension(""));
}

TEST(DecimalTextTest, FormatsTheWholeRange) {
  EXPECT_EQ(DecimalText(0), "0");
  EXPECT_EQ(DecimalText(6), "6");
  EXPECT_EQ(DecimalText(-32), "-32");
  EXPECT_EQ(DecimalText(2147483647), "2147483647");
  EXPECT_EQ(DecimalText(INT64_MIN), "-9223372036854775808");
}

TEST(SaturatedKiBTest, DropsTheRemainderAndSaturates) {
  EXPECT_EQ(SaturatedKiB(0), 0);
  EXPECT_EQ(SaturatedKiB(1023), 0);
  EXPECT_EQ(SaturatedKiB(1024), 1);
  EXPECT_EQ(SaturatedKiB(1536), 1);
  EXPECT_EQ(SaturatedKiB(std::uint64_t{5} << 32), 5 << 22);  // beyond 4 GiB
  EXPECT_EQ(SaturatedKiB(std::uint64_t{0x7fffffff} << 10), 0x7fffffff);
  EXPECT_EQ(SaturatedKiB((std::uint64_t{0x7fffffff} + 1) << 10), 0x7fffffff);
  EXPECT_EQ(SaturatedKiB(~std::uint64_t{0}), 0x7fffffff);
}

}  // namespace
}  // namespace orvel
