// The interactive update: which questions come for which installed package, what a
// Yes or a No changes, the start of Orvel at the end, and the language of the buttons.
#include "update_fixture.h"

#include "scratch.h"

namespace orvel::e2e {
namespace {

TEST_F(UpdateTest, YesToBothQuestionsWritesThePackageRecordsTheSizeAndStartsOrvel) {
  const InstallerRun run = Run({}, {IDYES, IDYES});

  EXPECT_EQ(run.boxes, (std::vector<Box>{InstallQuestion(), DoneQuestion()}));
  EXPECT_EQ(run.exit_code, kWritten);
  EXPECT_TRUE(HoldsEmbeddedPackage(Orvel()));
  EXPECT_EQ(EstimatedSize(kNativeUninstallKey), Orvel().SizeKiB());
  EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kWow64UninstallKey));
  // The per-user key is made on the way when Orvel never ran for this user.
  EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, kUserKey));

  // Orvel runs from its own folder, whatever folder the installer started in, and is
  // started by the desktop shell, so that it gets the user's own token, not the
  // installer's.
  ASSERT_TRUE(WaitForStartByInstaller());
  const std::vector<LogEvent> starts = StartsByInstaller();
  ASSERT_EQ(starts.size(), 1u);
  ASSERT_EQ(starts[0].size(), 4u);
  EXPECT_EQ(::lstrcmpiA(starts[0][3].c_str(), "explorer.exe"), 0) << "parent " << starts[0][3];
  std::string folder = Orvel().Folder();
  folder.pop_back();
  EXPECT_EQ(::lstrcmpiA(starts[0][2].c_str(), folder.c_str()), 0) << "current directory " << starts[0][2];
  std::string command_line = starts[0][1];
  for (char& c : command_line) c = static_cast<char>(::tolower(static_cast<unsigned char>(c)));
  EXPECT_NE(command_line.find("orvel.exe"), std::string::npos) << "command line " << starts[0][1];
}

TEST_F(UpdateTest, NoToTheLastQuestionLeavesOrvelStopped) {
  const InstallerRun run = Run({}, {IDYES, IDNO});

  EXPECT_EQ(run.boxes, (std::vector<Box>{InstallQuestion(), DoneQuestion()}));
  EXPECT_EQ(run.exit_code, kWritten);
  EXPECT_TRUE(HoldsEmbeddedPackage(Orvel()));
  EXPECT_TRUE(NoStartByInstaller());
}

// The package's version comes from the build: an installer built for a package of
// another version announces that version.
TEST_F(UpdateTest, InstallerBuiltForAnotherVersionAsksToInstallThatVersion) {
  const InstallerRun run = RunCopy(OtherBuildInstallerPath(), {}, {IDNO});

  EXPECT_EQ(run.boxes, std::vector<Box>{InstallQuestion(kOtherBuildVersion)});
  EXPECT_NE(run.boxes.at(0).text.find(LanguageText(kPackageKey) + " 7"), std::string::npos);
  EXPECT_EQ(run.exit_code, kDeclined);
}

// Questions carry the language file's language, so Windows labels the buttons in it:
// here on an English system whose user chose Russian in Orvel.
TEST_F(UpdateTest, QuestionButtonsSpeakTheLanguageOfTheChosenFile) {
  test::SetRegistryString(HKEY_CURRENT_USER, kUserKey, "LangFile", "russian.lng");

  const InstallerRun run = Run({}, {IDNO});

  EXPECT_EQ(run.exit_code, kDeclined);
  ASSERT_EQ(run.button_texts.size(), 1u);
  EXPECT_EQ(run.button_texts[0], (std::vector<std::string>{"Да", "Нет"}));
}

// A No to either question ends the run before anything is written.
struct DeclineCase {
  const char* name;
  int installed_version;
  std::vector<int> answers;
  int boxes;  // how many of Q1 (when the installed package is newer) and Q2 come
};
void PrintTo(const DeclineCase& c, std::ostream* out) { *out << c.name; }

class DeclineTest : public UpdateTest, public ::testing::WithParamInterface<DeclineCase> {};

TEST_P(DeclineTest, WritesNothing) {
  const DeclineCase& c = GetParam();
  const std::string installed = PackageOfVersion(c.installed_version);
  Orvel().WritePackage(installed);

  const InstallerRun run = Run({}, c.answers);

  std::vector<Box> expected;
  if (c.installed_version > kEmbeddedVersion) expected.push_back(OlderPackageQuestion());
  expected.push_back(InstallQuestion());
  expected.resize(c.boxes);
  EXPECT_EQ(run.boxes, expected);
  EXPECT_EQ(run.exit_code, kDeclined);
  EXPECT_TRUE(StillHolds(Orvel(), installed));
  EXPECT_FALSE(EstimatedSize(kNativeUninstallKey).has_value());
  EXPECT_TRUE(NoStartByInstaller());
}

INSTANTIATE_TEST_SUITE_P(Cases, DeclineTest,
                         ::testing::Values(DeclineCase{"InstallQuestion", kEmbeddedVersion - 1, {IDNO}, 1},
                                           DeclineCase{"OlderPackageQuestion", kEmbeddedVersion + 1, {IDNO}, 1},
                                           DeclineCase{"InstallQuestionAfterOlderPackage", kEmbeddedVersion + 1,
                                                       {IDYES, IDNO}, 2}),
                         [](const auto& info) { return std::string(info.param.name); });

// What is installed decides whether the older-package question comes before the
// install question; with Yes to all, the embedded package replaces it either way.
struct InstalledCase {
  const char* name;
  bool present;
  std::string bytes;
  bool asks_older;
};
void PrintTo(const InstalledCase& c, std::ostream* out) { *out << c.name; }

class InstalledPackageTest : public UpdateTest, public ::testing::WithParamInterface<InstalledCase> {};

TEST_P(InstalledPackageTest, DecidesTheOlderPackageQuestion) {
  const InstalledCase& c = GetParam();
  if (c.present)
    Orvel().WritePackage(c.bytes);
  else
    Orvel().RemovePackage();

  const InstallerRun run = Run({}, c.asks_older ? std::vector<int>{IDYES, IDYES, IDNO} : std::vector<int>{IDYES, IDNO});

  std::vector<Box> expected;
  if (c.asks_older) expected.push_back(OlderPackageQuestion());
  expected.push_back(InstallQuestion());
  expected.push_back(DoneQuestion());
  EXPECT_EQ(run.boxes, expected);
  EXPECT_EQ(run.exit_code, kWritten);
  EXPECT_TRUE(HoldsEmbeddedPackage(Orvel()));
  EXPECT_EQ(EstimatedSize(kNativeUninstallKey), Orvel().SizeKiB());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, InstalledPackageTest,
    ::testing::Values(InstalledCase{"Newer", true, PackageOfVersion(kEmbeddedVersion + 1), true},
                      InstalledCase{"NewestPossible", true, PackageOfVersion(255), true},
                      InstalledCase{"SameVersion", true, PackageOfVersion(kEmbeddedVersion), false},
                      InstalledCase{"Older", true, PackageOfVersion(kEmbeddedVersion - 1), false},
                      InstalledCase{"ShorterThanItsHeader", true, std::string("vex"), false},
                      InstalledCase{"HeaderWithoutVersionByte", true, std::string("vexa\x02", 5), false},
                      InstalledCase{"Empty", true, std::string(), false},
                      InstalledCase{"Missing", false, std::string(), false}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace orvel::e2e
