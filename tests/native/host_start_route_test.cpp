// Which way Orvel is started: never with an elevated token.
#include "app/host_start_route.h"

#include <gtest/gtest.h>

namespace orvel {
namespace {

struct RecordingStarter {
  bool shell_answers;
  int shell_calls = 0;
  int direct_calls = 0;

  bool StartThroughDesktopShell() {
    ++shell_calls;
    return shell_answers;
  }
  void StartDirectly() { ++direct_calls; }
};

TEST(StartAsSignedInUserTest, AnElevatedInstallerStartsOrvelOnlyThroughTheShell) {
  const struct {
    bool elevated;
    bool shell_answers;
    bool started;
    int shell_calls;
    int direct_calls;
  } cases[] = {
      {true, true, true, 1, 0},
      {true, false, false, 1, 0},  // no shell: not started, and never with this token
      {false, true, true, 0, 1},
      {false, false, true, 0, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "elevated " << c.elevated << ", shell answers " << c.shell_answers);
    RecordingStarter starter{c.shell_answers};
    EXPECT_EQ(StartAsSignedInUser(c.elevated, starter), c.started);
    EXPECT_EQ(starter.shell_calls, c.shell_calls);
    EXPECT_EQ(starter.direct_calls, c.direct_calls);
  }
}

}  // namespace
}  // namespace orvel
