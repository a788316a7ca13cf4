// The console capture's rules: the letters of a random temporary
// file name, the command line, and reading the captured file as lines.
#include "sys/console_text.h"
#include "sys/random_generator.h"

#include <gtest/gtest.h>


namespace orvel {
namespace {

TEST(RandomLettersTest, OneLetterFromEachNumberByItsRemainder) {
  EXPECT_EQ(RandomLetters({0, 1, 25, 26, 27, 51, 52, 0xFFFFFFFF}), "abzabzav");  // 2^32 - 1 leaves 21
}

TEST(ConsoleCommandLineTest, QuotesTheInterpreter) {
  EXPECT_EQ(ConsoleCommandLine("C:\\windows\\system32\\cmd.exe", "ver"), "\"C:\\windows\\system32\\cmd.exe\" /D /c ver");
  EXPECT_EQ(ConsoleCommandLine("C:\\My Windows\\system32\\cmd.exe", "dir /b \"C:\\A B\""),
            "\"C:\\My Windows\\system32\\cmd.exe\" /D /c dir /b \"C:\\A B\"");
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
