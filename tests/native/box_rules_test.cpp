// Whether a message box is shown: never where nobody can see it, and never in a quiet
// run with /suppressmsgboxes.
#include "base/box_rules.h"

#include <gtest/gtest.h>

namespace orvel {
namespace {

TEST(DecideBoxesTest, ShowsThemOnlyWhereSomeoneCanAnswer) {
  using enum BoxVerdict;
  const struct {
    bool quiet, suppress, visible;
    std::uint32_t session;
    BoxVerdict verdict;
  } cases[] = {
      {false, false, true, 1, kShown},         {true, false, true, 1, kShown},
      {false, true, true, 1, kShown},          {true, true, true, 1, kSwitchedOff},
      {true, true, false, 0, kSwitchedOff},    {false, false, true, 0, kSessionZero},
      {true, false, false, 0, kSessionZero},   {false, false, false, 1, kStationInvisible},
      {false, true, false, 2, kStationInvisible},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "quiet " << c.quiet << ", switch " << c.suppress << ", visible " << c.visible
                                    << ", session " << c.session);
    EXPECT_EQ(DecideBoxes(c.quiet, c.suppress, c.visible, c.session), c.verdict);
    EXPECT_EQ(*kBoxVerdictReasons[static_cast<int>(c.verdict)] == '\0', c.verdict == kShown);
  }
}

}  // namespace
}  // namespace orvel
