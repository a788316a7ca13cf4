// Which way Orvel is started: never with a privileged token, in session 0 or as a service account.
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

TEST(StartAsSignedInUserTest, APrivilegedInstallerStartsOrvelOnlyThroughTheShellOfASignedInUser) {
  using enum HostStartRoute;
  const struct {
    TokenFacts token;
    bool shell_answers;
    HostStartRoute route;
    bool started;
    int shell_calls;
    int direct_calls;
  } cases[] = {
      {{true, true, false, 1}, true, kDesktopShell, true, 1, 0},
      {{true, true, false, 1}, false, kDesktopShell, false, 1, 0},  // no shell: never with this token
      {{false, false, false, 1}, true, kDirect, true, 0, 1},  {{false, false, false, 2}, false, kDirect, true, 0, 1},
      // Each sign of privilege alone: UAC off (Administrators enabled, not elevated), elevated or high integrity.
      {{false, true, false, 1}, true, kDesktopShell, true, 1, 0},
      {{true, false, false, 1}, true, kDesktopShell, true, 1, 0},
      {{true, true, false, 0}, true, kNotInSessionZero, false, 0, 0},  // services' session and accounts: not at all
      {{false, false, false, 0}, true, kNotInSessionZero, false, 0, 0},
      {{true, true, true, 0}, true, kNotAsService, false, 0, 0},
      {{false, false, true, 1}, true, kNotAsService, false, 0, 0},
      {TokenFacts{}, true, kDesktopShell, true, 1, 0},  // a token that cannot be read
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "case " << &c - cases);
    EXPECT_EQ(ChooseHostStartRoute(c.token), c.route);
    RecordingStarter starter{c.shell_answers};
    EXPECT_EQ(StartAsSignedInUser(ChooseHostStartRoute(c.token), starter), c.started);
    EXPECT_EQ(starter.shell_calls, c.shell_calls);
    EXPECT_EQ(starter.direct_calls, c.direct_calls);
  }
}

}  // namespace
}  // namespace orvel
