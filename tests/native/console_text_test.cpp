// The console capture's rules: the process generator's sequence, the temporary
// file name, the command line, and reading the captured file as lines.
#include "sys/console_text.h"
#include "sys/random_generator.h"

#include <gtest/gtest.h>

#include <set>

namespace orvel {
namespace {

TEST(RandomGeneratorTest, FollowsTheLinearCongruentialSequence) {
  // seed := seed * 134775813 + 1 (mod 2^32); a draw below n is (seed * n) >> 32.
  RandomGenerator generator;
  generator.Seed(0);
  EXPECT_EQ(generator.Below(26), 0u);  // seed 1: 26 >> 32
  EXPECT_EQ(generator.SeedValue(), 1u);
  EXPECT_EQ(generator.Below(26), 0u);  // seed 134775814 = 0x08088406: 3504171164 >> 32
  EXPECT_EQ(generator.SeedValue(), 0x08088406u);
  EXPECT_EQ(generator.Below(26), 22u);  // seed 0xDC6DAC1F: 96152550182 >> 32
  EXPECT_EQ(generator.SeedValue(), 0xDC6DAC1Fu);

  generator.Seed(0x12345678);
  EXPECT_EQ(generator.Below(1000), 794u);  // seed 0xCB5B9059
  EXPECT_EQ(generator.SeedValue(), 0xCB5B9059u);
  // The whole 32 bits take part: the largest seed wraps around.
  generator.Seed(0xFFFFFFFF);
  EXPECT_EQ(generator.Below(26), 25u);  // seed 0xF7F77BFC
  EXPECT_EQ(generator.SeedValue(), 0xF7F77BFCu);
  EXPECT_EQ(generator.Below(1), 0u);
}

TEST(TemporaryFileNameTest, EightLowerCaseLettersFromTheGenerator) {
  RandomGenerator generator;
  generator.Seed(0);
  EXPECT_EQ(TemporaryFileName(generator), "aawfhrie");
  generator.Seed(0x12345678);
  EXPECT_EQ(TemporaryFileName(generator), "umwyxxpu");
  generator.Seed(0xFFFFFFFF);
  EXPECT_EQ(TemporaryFileName(generator), "zfndwamy");

  // Every letter, and only letters, turn up over many names.
  std::set<char> letters;
  std::set<std::string> names;
  generator.Seed(20240501);
  for (int i = 0; i < 2000; ++i) {
    const std::string name = TemporaryFileName(generator);
    ASSERT_EQ(name.size(), 8u);
    for (char c : name) {
      ASSERT_GE(c, 'a');
      ASSERT_LE(c, 'z');
      letters.insert(c);
    }
    names.insert(name);
  }
  EXPECT_EQ(letters.size(), 26u);
  EXPECT_EQ(names.size(), 2000u);
}

TEST(ConsoleCommandLineTest, QuotesTheInterpreter) {
  EXPECT_EQ(ConsoleCommandLine("C:\\windows\\system32\\cmd.exe", "ver"), "\"C:\\windows\\system32\\cmd.exe\" /c ver");
  EXPECT_EQ(ConsoleCommandLine("C:\\My Windows\\system32\\cmd.exe", "dir /b \"C:\\A B\""),
            "\"C:\\My Windows\\system32\\cmd.exe\" /c dir /b \"C:\\A B\"");
}

TEST(ConsoleOutputLinesTest, ReadsLinesEndedByCrLfLfOrCrUpToCtrlZ) {
  struct Case {
    std::string bytes;
    std::string lines;
  } cases[] = {
      {"", "\r\n"},
      {"\r\nMicrosoft Windows [Version 10.0.19045.2965]\r\n", "\r\nMicrosoft Windows [Version 10.0.19045.2965]\r\n"},
      {"abc", "abc\r\n"},
      {"abc\r\n", "abc\r\n"},
      {"a\nb\n", "a\r\nb\r\n"},
      {"a\rb", "a\r\nb\r\n"},
      {"a\r\r\nb", "a\r\n\r\nb\r\n"},  // a lone CR, then CR LF
      {"a\n\rb", "a\r\n\r\nb\r\n"},    // LF CR is two breaks
      {"a\r\n\r\n", "a\r\n\r\n"},
      {"\n", "\r\n"},
      {"\n\n", "\r\n\r\n"},
      {std::string("a\x1A" "b\r\nc"), "a\r\n"},
      {std::string("a\r\n\x1A" "junk"), "a\r\n"},
      {std::string("\x1A"), "\r\n"},
      {std::string("a\0b\n", 4), std::string("a\0b\r\n", 5)},
  };
  for (const Case& c : cases) EXPECT_EQ(ConsoleOutputLines(c.bytes), c.lines) << testing::PrintToString(c.bytes);
}

}  // namespace
}  // namespace orvel
