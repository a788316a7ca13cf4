// The command line: "modest" (any letter case) updates without a question, and a
// second argument "runapp" (any letter case) starts Orvel afterwards; any other first
// argument gives the interactive run.
#include "update_fixture.h"

namespace orvel::e2e {
namespace {

struct QuietCase {
  const char* name;
  std::vector<std::string> args;
  bool starts_orvel;
};
void PrintTo(const QuietCase& c, std::ostream* out) { *out << c.name; }

class QuietModeTest : public UpdateTest, public ::testing::WithParamInterface<QuietCase> {};

TEST_P(QuietModeTest, WritesWithoutAQuestion) {
  const QuietCase& c = GetParam();
  // Even over a newer package: quiet mode asks nothing.
  Orvel().WritePackage(PackageOfVersion(kEmbeddedVersion + 1));

  const InstallerRun run = Run(c.args);

  EXPECT_EQ(run.boxes, std::vector<Box>{});
  EXPECT_EQ(run.exit_code, kWritten);
  EXPECT_TRUE(HoldsEmbeddedPackage(Orvel()));
  EXPECT_EQ(EstimatedSize(kNativeUninstallKey), Orvel().SizeKiB());
  if (c.starts_orvel)
    EXPECT_TRUE(WaitForStartByInstaller());
  else
    EXPECT_TRUE(NoStartByInstaller());
}

INSTANTIATE_TEST_SUITE_P(
    Arguments, QuietModeTest,
    ::testing::Values(QuietCase{"Modest", {"modest"}, false}, QuietCase{"Capitals", {"MODEST"}, false},
                      QuietCase{"MixedCaseRunApp", {"Modest", "RunApp"}, true},
                      QuietCase{"RunApp", {"modest", "runapp"}, true},
                      QuietCase{"QuotedRunApp", {"\"modest\"", "\"RUNAPP\""}, true},
                      QuietCase{"OtherSecondArgument", {"modest", "runapps"}, false},
                      QuietCase{"ThirdArgumentRunApp", {"modest", "x", "runapp"}, false}),
    [](const auto& info) { return std::string(info.param.name); });

class InteractiveArgumentsTest : public UpdateTest,
                                 public ::testing::WithParamInterface<std::vector<std::string>> {};

TEST_P(InteractiveArgumentsTest, AskBeforeInstalling) {
  const std::string installed = Orvel().PackageBytes();

  const InstallerRun run = Run(GetParam(), {IDNO});

  EXPECT_EQ(run.boxes, std::vector<Box>{InstallQuestion()});
  EXPECT_EQ(run.exit_code, kDeclined);
  EXPECT_TRUE(StillHolds(Orvel(), installed));
}

std::string InteractiveName(const ::testing::TestParamInfo<std::vector<std::string>>& info) {
  const char* const names[] = {"Modestly", "RunAppAlone", "ModestSecond"};
  return names[info.index];
}

INSTANTIATE_TEST_SUITE_P(Arguments, InteractiveArgumentsTest,
                         ::testing::Values(std::vector<std::string>{"modestly"}, std::vector<std::string>{"runapp"},
                                           std::vector<std::string>{"x", "modest"}),
                         InteractiveName);

}  // namespace
}  // namespace orvel::e2e
