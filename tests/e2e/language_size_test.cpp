// Orvel's language folder may not be the installer's own: a language file far larger
// than any real one is a broken file, refused before it is read.
#include "update_fixture.h"

#include "scratch.h"

namespace orvel::e2e {
namespace {

// Within seconds: the file is refused by its size, not read.
constexpr double kQuickEndSeconds = 10.0;

TEST_F(UpdateTest, HugeLanguageFileEndsTheRunQuicklyAsAFileWithErrors) {
  ASSERT_FALSE(RussianSession()) << "this test expects an English user locale";
  const std::string installed = Orvel().PackageBytes();
  // A well-formed language file for another locale, grown to 64 MiB at its end.
  const std::string huge = Orvel().Folder() + "language\\huge.lng";
  test::WriteBytes(huge, test::ReadBytes(Orvel().Folder() + "language\\german.lng") + "\r\n[padding]\r\n");
  HANDLE file = ::CreateFileA(huge.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  LARGE_INTEGER size;
  size.QuadPart = 64ll << 20;
  const bool grown = ::SetFilePointerEx(file, size, nullptr, FILE_BEGIN) && ::SetEndOfFile(file);
  ::CloseHandle(file);
  ASSERT_TRUE(grown);

  const InstallerRun run = Run({}, {IDYES, IDYES});

  EXPECT_EQ(run.boxes, std::vector<Box>{Error(kEnglishTitle, "huge.lng" + kLangFileErrorsEnglish)});
  EXPECT_EQ(run.exit_code, kNoLanguageFiles);
  EXPECT_LT(run.seconds, kQuickEndSeconds);
  EXPECT_TRUE(StillHolds(Orvel(), installed));
}

}  // namespace
}  // namespace orvel::e2e
