// Where the installer finds Orvel (the uninstall entry in either registry view, its
// "UninstallString" in the usual forms, the per-user "TheLastRunFolder") and where it
// records the size of the installation.
#include "update_fixture.h"

#include "scratch.h"

namespace orvel::e2e {
namespace {

// A normal update answered Yes, No; the package must land in `installation`.
void ExpectUpdated(const InstallerRun& run, const TestInstallation& installation) {
  EXPECT_EQ(run.boxes, (std::vector<Box>{InstallQuestion(), DoneQuestion()}));
  EXPECT_EQ(run.exit_code, kWritten);
  EXPECT_TRUE(HoldsEmbeddedPackage(installation));
}

TEST_F(UpdateTest, EntryOnlyInThe32BitViewGetsTheSizeAndNoNativeEntryIsMade) {
  test::DeleteRegistryTree(HKEY_LOCAL_MACHINE, kNativeUninstallKey);
  SetUninstallString(kWow64UninstallKey, Orvel().Folder() + "unins000.exe");

  const InstallerRun run = Run({}, {IDYES, IDNO});

  ExpectUpdated(run, Orvel());
  EXPECT_EQ(EstimatedSize(kWow64UninstallKey), Orvel().SizeKiB());
  EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kNativeUninstallKey));
}

TEST_F(UpdateTest, NativeEntryWinsOverThe32BitOne) {
  const TestInstallation& other = AddInstallation("Orvel32");
  SetUninstallString(kWow64UninstallKey, other.Folder() + "unins000.exe");
  const std::string other_bytes = other.PackageBytes();

  const InstallerRun run = Run({}, {IDYES, IDNO});

  ExpectUpdated(run, Orvel());
  EXPECT_TRUE(StillHolds(other, other_bytes));
  EXPECT_EQ(EstimatedSize(kNativeUninstallKey), Orvel().SizeKiB());
  EXPECT_FALSE(EstimatedSize(kWow64UninstallKey).has_value());
}

// "UninstallString" as uninstallers write it: plain, in quotes, in quotes with
// arguments.
struct UninstallStringCase {
  const char* name;
  const char* before;  // around the path of the uninstaller in Orvel's folder
  const char* after;
};
void PrintTo(const UninstallStringCase& c, std::ostream* out) { *out << c.name; }

class UninstallStringTest : public UpdateTest, public ::testing::WithParamInterface<UninstallStringCase> {};

TEST_P(UninstallStringTest, LeadsToOrvelsFolder) {
  const UninstallStringCase& c = GetParam();
  SetUninstallString(kNativeUninstallKey, c.before + Orvel().Folder() + "unins000.exe" + c.after);

  const InstallerRun run = Run({}, {IDYES, IDNO});

  ExpectUpdated(run, Orvel());
  EXPECT_EQ(EstimatedSize(kNativeUninstallKey), Orvel().SizeKiB());
}

INSTANTIATE_TEST_SUITE_P(Forms, UninstallStringTest,
                         ::testing::Values(UninstallStringCase{"Plain", "", ""},
                                           UninstallStringCase{"Quoted", "\"", "\""},
                                           UninstallStringCase{"QuotedWithArguments", "\"", "\" /SILENT /LOG=\"x y\""}),
                         [](const auto& info) { return std::string(info.param.name); });

// An "UninstallString" that names no folder leaves Orvel's default folder, Program
// Files\Orvel, never an empty (relative) one: the installer's current folder holds
// an Orvel too, which must stay untouched.
class UnusableUninstallStringTest : public UpdateTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(UnusableUninstallStringTest, KeepsTheDefaultFolder) {
  const std::string program_files = ProgramFilesFolder();
  ASSERT_FALSE(program_files.empty());
  ASSERT_FALSE(test::Exists(program_files + "Orvel")) << "the prefix already has an Orvel in Program Files";
  const TestInstallation& default_orvel = AddInstallation(program_files + "Orvel\\");
  const TestInstallation& in_current_folder = AddInstallation(Outside());
  const std::string current_bytes = in_current_folder.PackageBytes();
  SetUninstallString(kNativeUninstallKey, GetParam());

  const InstallerRun run = Run({}, {IDYES, IDNO});

  ExpectUpdated(run, default_orvel);
  EXPECT_TRUE(StillHolds(in_current_folder, current_bytes));
  EXPECT_EQ(EstimatedSize(kNativeUninstallKey), default_orvel.SizeKiB());
}

std::string UnusableName(const ::testing::TestParamInfo<const char*>& info) {
  const char* const names[] = {"Empty", "NoFolder", "EmptyQuotes", "Backslash"};
  return names[info.index];
}

INSTANTIATE_TEST_SUITE_P(Values, UnusableUninstallStringTest, ::testing::Values("", "unins000.exe", "\"\"", "\\"),
                         UnusableName);

TEST_F(UpdateTest, LastRunFolderWinsOverTheUninstallEntry) {
  const TestInstallation& used = AddInstallation("Used");
  const std::string registered_bytes = Orvel().PackageBytes();
  std::string folder = used.Folder();
  folder.pop_back();  // stored without its trailing backslash
  SetLastRunFolder(folder);

  const InstallerRun run = Run({}, {IDYES, IDNO});

  ExpectUpdated(run, used);
  EXPECT_TRUE(StillHolds(Orvel(), registered_bytes));
  // The size is that of the folder written to, under Orvel's own entry.
  EXPECT_EQ(EstimatedSize(kNativeUninstallKey), used.SizeKiB());
}

// A "TheLastRunFolder" that is no full path is ignored: Orvel's folder stays the one
// its uninstall entry gives, and an Orvel that the value would name relative to the
// installer's current folder stays untouched.
struct RelativeLastRunCase {
  const char* name;
  const char* value;
  const char* decoy;  // below the installer's current folder ("" for that folder)
};

class RelativeLastRunFolderTest : public UpdateTest, public ::testing::WithParamInterface<RelativeLastRunCase> {};

TEST_P(RelativeLastRunFolderTest, IsIgnored) {
  const RelativeLastRunCase& c = GetParam();
  const std::string decoy_folder = *c.decoy ? Outside() + c.decoy + "\\" : Outside();
  const TestInstallation& decoy = AddInstallation(decoy_folder);
  const std::string decoy_bytes = decoy.PackageBytes();
  SetLastRunFolder(c.value);

  const InstallerRun run = Run({}, {IDYES, IDNO});

  ExpectUpdated(run, Orvel());
  EXPECT_TRUE(StillHolds(decoy, decoy_bytes));
  EXPECT_EQ(EstimatedSize(kNativeUninstallKey), Orvel().SizeKiB());
}

INSTANTIATE_TEST_SUITE_P(Values, RelativeLastRunFolderTest,
                         ::testing::Values(RelativeLastRunCase{"Empty", "", ""},
                                           RelativeLastRunCase{"Relative", "Decoy", "Decoy"}),
                         [](const auto& info) { return std::string(info.param.name); });

// Orvel's path through a link re-pointed during the install question: the run stays in the folder it checked.
TEST_F(UpdateTest, LinkInOrvelsPathRePointedDuringTheQuestionChangesNothingElsewhere) {
  for (const char* folder : {"checked", "decoy"}) ASSERT_TRUE(::CreateDirectoryA((Scratch() + folder).c_str(), nullptr));
  test::WriteBytes(Scratch() + "decoy\\decoy.txt", "the link points here");
  const TestInstallation &checked = AddInstallation("checked\\Orvel"), &decoy = AddInstallation("decoy\\Orvel");
  const std::string link = Scratch() + "link";
  ASSERT_TRUE(test::MakeUnixLink(link, Scratch() + "checked"));
  SetLastRunFolder(link + "\\Orvel\\");
  // What a run that went by name would act on: a read-only package, a staging leftover, a size of its own.
  test::WriteBytes(decoy.Folder() + "~vexa.3bs.abcdefgh", "left over");
  test::WriteBytes(decoy.Folder() + "large.bin", std::string(1 << 20, 'x'));
  ASSERT_TRUE(::SetFileAttributesA(decoy.PackagePath().c_str(), FILE_ATTRIBUTE_READONLY));
  const std::vector<std::string> decoy_entries = FolderEntries(decoy.Folder());
  bool re_pointed = false;
  auto re_point_at_first_box = [&](const test::SeenDialog&) {
    if (re_pointed || !test::MakeUnixLink(link, Scratch() + "decoy")) return;
    for (int wait = 0; wait < 100 && !re_pointed; ++wait, ::Sleep(50)) re_pointed = test::Exists(link + "\\decoy.txt");
  };

  const InstallerRun run = Run({}, {IDYES, IDNO}, re_point_at_first_box);

  ASSERT_TRUE(re_pointed);
  ExpectUpdated(run, checked);
  EXPECT_TRUE(StillHolds(decoy, PackageOfVersion(kEmbeddedVersion - 1)));  // as every test installation begins
  EXPECT_EQ(FolderEntries(decoy.Folder()), decoy_entries);
  EXPECT_EQ(test::ReadBytes(decoy.Folder() + "~vexa.3bs.abcdefgh"), "left over");
  EXPECT_EQ(EstimatedSize(kNativeUninstallKey), checked.SizeKiB());
}

TEST_F(UpdateTest, MissingUninstallEntryIsCreatedForTheSize) {
  test::DeleteRegistryTree(HKEY_LOCAL_MACHINE, kNativeUninstallKey);
  SetLastRunFolder(Orvel().Folder());

  const InstallerRun run = Run({}, {IDYES, IDNO});

  ExpectUpdated(run, Orvel());
  EXPECT_EQ(EstimatedSize(kNativeUninstallKey), Orvel().SizeKiB());
  EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kWow64UninstallKey));
}

TEST_F(UpdateTest, LastRunFolderOfTheWrongTypeIsARegistryError) {
  test::SetRegistryDword(HKEY_CURRENT_USER, kUserKey, "TheLastRunFolder", 1);
  const std::string installed = Orvel().PackageBytes();

  const InstallerRun run = Run({}, {IDYES, IDYES});

  const Box expected = RussianSession() ? Error(kRussianTitle, kRegistryErrorRussian)
                                        : Error(kEnglishTitle, kRegistryErrorEnglish);
  EXPECT_EQ(run.boxes, std::vector<Box>{expected});
  EXPECT_EQ(run.exit_code, kRegistryError);
  EXPECT_TRUE(StillHolds(Orvel(), installed));
  EXPECT_FALSE(EstimatedSize(kNativeUninstallKey).has_value());
}

}  // namespace
}  // namespace orvel::e2e
