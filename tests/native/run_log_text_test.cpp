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
}

}  // namespace
}  // namespace orvel
