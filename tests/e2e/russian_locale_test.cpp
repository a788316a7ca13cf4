// The built-in messages and the language file for a Russian user locale (1049). Wine takes a process's
// locale from the Unix locale it starts in, so these tests run in a test process of
// their own that CTest starts with LANG=ru_RU.UTF-8 and ORVEL_E2E_RUSSIAN_SESSION=1;
// run by hand without them, they are skipped.
#include "update_fixture.h"

#include <cstdlib>

#include "scratch.h"

namespace orvel::e2e {
namespace {

constexpr LCID kRussian = 1049;

class RussianLocaleTest : public UpdateTest {
 protected:
  void SetUp() override {
    if (std::getenv("ORVEL_E2E_RUSSIAN_SESSION") == nullptr)
      GTEST_SKIP() << "needs a Russian Wine session (ctest runs it with LANG=ru_RU.UTF-8)";
    // The session was asked for: a locale Wine did not take is a failure, not a skip.
    ASSERT_EQ(::GetUserDefaultLCID(), kRussian) << "the Unix locale ru_RU.UTF-8 did not reach Wine (LOCPATH?)";
    UpdateTest::SetUp();
  }
};

TEST_F(RussianLocaleTest, MissingOrvelIsReportedInRussian) {
  Orvel().RemoveHost();

  const InstallerRun run = Run({}, {IDYES, IDYES});

  EXPECT_EQ(run.boxes, std::vector<Box>{Error(kRussianTitle, kHostMissingRussian)});
  EXPECT_EQ(run.exit_code, kNotInstalled);
  EXPECT_FALSE(EstimatedSize(kNativeUninstallKey).has_value());
}

TEST_F(RussianLocaleTest, RegistryErrorIsReportedInRussian) {
  test::SetRegistryDword(HKEY_CURRENT_USER, kUserKey, "TheLastRunFolder", 1);

  const InstallerRun run = Run({}, {IDYES, IDYES});

  EXPECT_EQ(run.boxes, std::vector<Box>{Error(kRussianTitle, kRegistryErrorRussian)});
  EXPECT_EQ(run.exit_code, kRegistryError);
}

TEST_F(RussianLocaleTest, FailedWriteIsReportedInRussian) {
  const std::string installed = Orvel().PackageBytes();
  auto host = StartHost({"--hold-package", "--ignore-quit"});

  const InstallerRun run = Run({"modest"});

  // After the language file is chosen, its program name is the caption.
  EXPECT_EQ(run.boxes, std::vector<Box>{LanguageError(kCantInstallRussian + Orvel().PackagePath())});
  EXPECT_EQ(run.exit_code, kPackageLocked);  // locked through the whole wait
  host.reset();  // it holds the package without sharing: let go, so the test can read it
  EXPECT_TRUE(StillHolds(Orvel(), installed));
}

// A Russian user is asked in russian.lng's words, with its arguments filled.
TEST_F(RussianLocaleTest, QuestionsComeFromTheRussianLanguageFile) {
  const InstallerRun run = Run({}, {IDYES, IDNO});

  EXPECT_EQ(run.boxes, (std::vector<Box>{InstallQuestion(), DoneQuestion()}));
  EXPECT_NE(run.boxes.at(0).text.find("Звёздные мотыльки " + std::to_string(kEmbeddedVersion)), std::string::npos);
  EXPECT_EQ(run.exit_code, kWritten);
  EXPECT_TRUE(HoldsEmbeddedPackage(Orvel()));
}

}  // namespace
}  // namespace orvel::e2e
