// The log's lines: time stamp to the millisecond, one line per event.
#include "base/run_log_text.h"

#include <gtest/gtest.h>

namespace orvel {
namespace {

TEST(LogLineTextTest, StampsTheTimeAndKeepsEachEventOnOneLine) {
  const LogTime time{2024, 5, 1, 4, 3, 7, 45};
  EXPECT_EQ(LogLineText(time, {"exit code ", "0"}), "2024-05-01 04:03:07.045 exit code 0\r\n");
  EXPECT_EQ(LogLineText(LogTime{1999, 12, 31, 23, 59, 59, 999}, {"Install?\r\n", "\r\nVersion 6\nnow\r"}),
            "1999-12-31 23:59:59.999 Install? Version 6 now \r\n");
  EXPECT_EQ(LogLineText(time, {}), "2024-05-01 04:03:07.045 \r\n");
  // About 2 KiB after the stamp, then cut between two characters, never inside an escape's three.
  const std::string stamp = "0000-00-00 00:00:00.000 ", a(2000, 'a'), escaped_683 = [] {
    std::string escaped;
    for (int i = 0; i < 683; ++i) escaped += "%26";
    return escaped;
  }();
  EXPECT_EQ(LogLineText(LogTime{}, {a, std::string(48, 'b')}), stamp + a + std::string(48, 'b') + "\r\n");
  EXPECT_EQ(LogLineText(LogTime{}, {a, std::string(5000, 'b'), "c"}), stamp + a + std::string(48, 'b') + " [line cut]\r\n");
  EXPECT_EQ(LogLineText(LogTime{}, {std::string(3000, '&')}), stamp + escaped_683 + " [line cut]\r\n");
}

TEST(LogLineTextTest, WritesWhatAShellActsOnAsHexDigits) {
  const char* const cases[][2] = {
      {"x.exe modest \"/log=a&calc.bat\"", "x.exe modest \"/log=a%26calc.bat\""},
      {"a|b<c>d^e%f%%", "a%7Cb%3Cc%3Ed%5Ee%25f%25%25"},
      {"tab\there\x1b[0m\x7f\x01", "tab%09here%1B[0m%7F%01"},
      {"C:\\Orvel (x86)\\\xc0!\"'", "C:\\Orvel (x86)\\\xc0!\"'"},  // unchanged
  };
  for (const auto& c : cases)
    EXPECT_EQ(LogLineText(LogTime{}, {c[0]}), std::string("0000-00-00 00:00:00.000 ") + c[1] + "\r\n");
}

TEST(IsLocalLogPathTest, RefusesNetworkDevicesAndStreams) {
  for (const char* local : {"C:\\Windows\\Logs\\orvel.log", "orvel.log", "..\\logs\\o.log", "\\logs\\o.log", "C:/l/o.log", "",
                            "C:\\nul\\console.log", "C:\\com10.log", "C:\\lpt.log", "C:\\connul.log"})
    EXPECT_TRUE(IsLocalLogPath(local)) << local;
  for (const char* other : {"\\\\server\\share\\o.log", "//server/share/o.log", "\\/server\\o.log", "\\\\.\\C:\\o.log",
                            "\\\\.\\pipe\\o", "\\\\?\\C:\\o.log", "\\??\\C:\\o.log", "C:\\o.log:hidden", "o.log::$DATA",
                            // Devices, in any folder and with any extension.
                            "C:\\Logs\\NUL", "C:\\nul.log", "C:con", "C:/x/Com1.txt", "LPT9", "C:\\aux .log.txt",
                            "C:\\prn", "C:\\ConOut$", "conin$.log", "C:\\lpt0", "C:\\com\xb9.log"})
    EXPECT_FALSE(IsLocalLogPath(other)) << other;
}

}  // namespace
}  // namespace orvel
