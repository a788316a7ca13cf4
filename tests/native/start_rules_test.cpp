// Command-line arguments and options, the start mode's lower-casing, the Russian locales and the box decision.
#include "app/start_rules.h"
#include "base/box_rules.h"
#include "base/text_rules.h"

#include <gtest/gtest.h>

namespace orvel {
namespace {

TEST(CommandLineArgumentTest, SplitsLikeTheWindowsStartupCode) {
  struct Case {
    const char* line;
    int index;
    const char* expected;
  } cases[] = {
      {"OrvelUpdate.exe modest runapp", 1, "modest"},
      {"OrvelUpdate.exe modest runapp", 2, "runapp"},
      {"OrvelUpdate.exe modest", 2, ""},
      {"OrvelUpdate.exe", 1, ""},
      {"\"C:\\Program Files\\Orvel Update.exe\" MODEST", 0, "C:\\Program Files\\Orvel Update.exe"},
      {"\"C:\\Program Files\\Orvel Update.exe\" MODEST", 1, "MODEST"},
      {"x.exe   \t modest\t\trunapp  ", 2, "runapp"},
      {"x.exe \"mo dest\" b", 1, "mo dest"},
      {"x.exe mo\"de\"st", 1, "modest"},
      {"x.exe \"\" runapp", 2, "runapp"},
      {"", 0, ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CommandLineArgument(c.line, c.index), c.expected) << c.line << " #" << c.index;
  }
}

TEST(SplitOptionsTest, TakesOutEveryOptionAndKeepsTheLastLogPath) {
  struct Case {
    const char* line;
    const char* arguments;
    const char* log_path;  // nullptr: no log asked for
    bool suppress_boxes = false;
    const char* not_understood = "";  // the word a run with this line names and stops at
    bool usage = false;
  } cases[] = {
      {"x.exe modest runapp", "x.exe modest runapp", nullptr},
      {"x.exe modest runapp /log=C:\\logs\\orvel.log", "x.exe modest runapp  ", "C:\\logs\\orvel.log"},
      {"x.exe /LOG=C:\\a.log modest runapp", "x.exe   modest runapp", "C:\\a.log"},
      {"x.exe \"/Log=C:\\My Logs\\u.log\" modest", "x.exe   modest", "C:\\My Logs\\u.log"},
      {"x.exe /log=\"C:\\My Logs\\u.log\" modest", "x.exe   modest", "C:\\My Logs\\u.log"},
      {"x.exe /log=first modest /log=C:\\second", "x.exe   modest  ", "C:\\second", false, "/log=first"},
      {"x.exe /log= modest", "x.exe   modest", nullptr, false, "/log="},
      {"x.exe /SuppressMsgBoxes modest runapp", "x.exe   modest runapp", nullptr, true},
      {"x.exe modest \"/suppressmsgboxes\" /log=\\\\srv\\s\\a runapp", "x.exe modest     runapp", "\\\\srv\\s\\a", true},
      // A log only at a full path, never opened where the installer happens to be started.
      {"x.exe modest /log=orvel.log", "x.exe modest  ", nullptr, false, "/log=orvel.log"},
      {"x.exe modest /log=C:orvel.log", "x.exe modest  ", nullptr, false, "/log=C:orvel.log"},
      {"x.exe modest /log=\\logs\\o.log", "x.exe modest  ", nullptr, false, "/log=\\logs\\o.log"},
      // Usage, and words that look like options but are none: the first is named.
      {"x.exe /?", "x.exe  ", nullptr, false, "", true},
      {"x.exe /HELP modest", "x.exe   modest", nullptr, false, "", true},
      {"x.exe /S", "x.exe /S", nullptr, false, "/S"},
      {"x.exe /quiet /suppressmsgboxes /log=C:\\o.log", "x.exe /quiet    ", "C:\\o.log", true, "/quiet"},
      {"x.exe modest -silent /x", "x.exe modest -silent /x", nullptr, false, "-silent"},
      {"x.exe /logfile=a modest", "x.exe /logfile=a modest", nullptr, false, "/logfile=a"},
      {"x.exe modest /log C:\\l\\o.log", "x.exe modest /log C:\\l\\o.log", nullptr, false, "/log"},
      {"x.exe /suppressmsgboxes2 modest", "x.exe /suppressmsgboxes2 modest", nullptr, false, "/suppressmsgboxes2"},
      // The program itself is never an option.
      {"/log=x.exe modest", "/log=x.exe modest", nullptr},
      {"/suppressmsgboxes modest", "/suppressmsgboxes modest", nullptr},
  };
  for (const Case& c : cases) {
    const CommandLineOptions split = SplitOptions(c.line);
    EXPECT_EQ(split.arguments, c.arguments) << c.line;
    EXPECT_EQ(split.log_path.value_or("(none)"), c.log_path != nullptr ? c.log_path : "(none)") << c.line;
    EXPECT_EQ(split.suppress_boxes, c.suppress_boxes) << c.line;
    EXPECT_EQ(split.not_understood, c.not_understood) << c.line;
    EXPECT_EQ(split.usage_asked, c.usage) << c.line;
  }
  // What the start mode and "runapp" are then read from; a mistyped "runapp" is named.
  const CommandLineOptions split = SplitOptions("x.exe /log=C:\\a.log MODEST \"/log=C:\\b c\" RunApp");
  EXPECT_EQ(CommandLineArgument(split.arguments, 1), "MODEST");
  std::string other = "?";
  EXPECT_TRUE(RunAppAsked(split.arguments, other));
  EXPECT_EQ(other, "");
  for (const auto& [arguments, typo] : {std::pair{"x.exe modest", ""}, {"x.exe modest runap", "runap"}}) {
    EXPECT_FALSE(RunAppAsked(arguments, other));
    EXPECT_EQ(other, typo);
  }
}

TEST(AsciiLowerTest, LowersOnlyAsciiLetters) {
  EXPECT_EQ(AsciiLower("MoDeSt"), "modest");
  EXPECT_EQ(AsciiLower("RUNAPP-1_Z@[`"), "runapp-1_z@[`");
  // Windows-1251 capitals (here "\xc0\xc1") stay as they are.
  EXPECT_EQ(AsciiLower("A\xc0\xc1z"), "a\xc0\xc1z");
}

TEST(RussianUiLocaleTest, WholeLcidsOfTheSevenLocales) {
  for (std::uint32_t lcid : {1026u, 1049u, 1058u, 1059u, 1087u, 1092u, 2073u}) {
    EXPECT_TRUE(IsRussianUiLocale(lcid)) << lcid;
  }
  // English, Romanian, Tajik, and Russian's primary language alone are not.
  for (std::uint32_t lcid : {1033u, 1048u, 1064u, 0x19u, 0x10419u, 0u}) {
    EXPECT_FALSE(IsRussianUiLocale(lcid)) << lcid;
  }
}

TEST(DecideBoxesTest, ShowsThemOnlyWhereSomeoneCanAnswer) {
  using enum BoxVerdict;
  const struct { bool quiet, suppress, visible; std::uint32_t session; BoxVerdict verdict; } cases[] = {
      {false, false, true, 1, kShown},      {true, false, true, 1, kShown},          {false, true, true, 1, kShown},
      {true, true, true, 1, kSwitchedOff},  {true, true, false, 0, kSwitchedOff},    {false, false, true, 0, kSessionZero},
      {true, false, false, 0, kSessionZero}, {false, false, false, 1, kStationInvisible},
      {false, true, false, 2, kStationInvisible}};
  for (const auto& c : cases) {
    EXPECT_EQ(DecideBoxes(c.quiet, c.suppress, c.visible, c.session), c.verdict) << c.quiet << c.suppress << c.visible;
    EXPECT_EQ(*kBoxVerdictReasons[static_cast<int>(c.verdict)] == '\0', c.verdict == kShown);
  }
}

}  // namespace
}  // namespace orvel
