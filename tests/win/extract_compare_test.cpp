// InstallPackageFile in its comparing mode, with files of every kind embedded in the
// test program (extract_resources.rc): when it replaces without asking, when it asks,
// what each answer leaves on disk, and the progress window around the question.
#include "install/package_extract.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "base/builtin_texts.h"
#include "base/program_state.h"
#include "base/scoped_handle_win.h"
#include "extract_fixtures.h"
#include "install/staging_name.h"
#include "lang/language_files.h"
#include "lang/text_lookup.h"
#include "robot/dialog_robot.h"
#include "scratch.h"
#include "ui/progress_window.h"

namespace orvel {
namespace {

using namespace std::string_literals;
using test::AsShown;
using test::BuiltInTexts;
using test::DialogRobot;
using test::EmbeddedBytes;
using test::Exists;
using test::ReadBytes;
using test::ScratchFolder;
using test::WriteBytes;

// The built-in English older-version question as the installer composes it.
std::string EnglishOlderQuestion(const std::string& target, const std::string& installed,
                                 const std::string& fresh) {
  return target + std::string(kOlderQuestionEn1) + installed + std::string(kOlderQuestionEn2) + fresh + "?";
}

// Any file whose name starts with "~" in the folder.
bool HasStagingFile(const std::string& folder) {
  WIN32_FIND_DATAA entry;
  ScopedFindHandle find(::FindFirstFileA((folder + "~*").c_str(), &entry));
  return find.IsValid();
}

std::string StaticText(HWND window) {
  HWND text = ::FindWindowExA(window, nullptr, "STATIC", nullptr);
  return text ? test::WindowTextUtf8(text) : "<no text line>";
}

// Notes, on the thread that asks, whether the progress window was visible when the
// first message box was created.
class BoxMoment {
 public:
  BoxMoment() { hook_ = ::SetWindowsHookExA(WH_CBT, &BoxMoment::Watch, nullptr, ::GetCurrentThreadId()); }
  ~BoxMoment() { ::UnhookWindowsHookEx(hook_); }
  static bool seen;
  static bool progress_visible;

 private:
  static LRESULT CALLBACK Watch(int code, WPARAM wparam, LPARAM lparam) {
    char name[16] = {};
    if (code == HCBT_CREATEWND && !seen && ::GetClassNameA(reinterpret_cast<HWND>(wparam), name, sizeof name) &&
        std::strcmp(name, "#32770") == 0) {
      seen = true;
      progress_visible = ::IsWindowVisible(ProgressWindowHandle()) != FALSE;
    }
    return ::CallNextHookEx(nullptr, code, wparam, lparam);
  }
  HHOOK hook_;
};
bool BoxMoment::seen = false;
bool BoxMoment::progress_visible = false;

struct Replacement {
  const char* resource;
  const char* kind;
  const char* target;
  std::string installed;  // empty: no installed file
};

TEST(InstallPackageFileComparingTest, ReplacesWithoutAskingUnlessTheInstalledIsNewer) {
  ScratchFolder scratch;
  const BuiltInTexts english(false);
  const std::string v1001 = EmbeddedBytes("EXE1001", "exe");
  const Replacement cases[] = {
      {"PAKV5", "pak", "equal.pak", "vexa\x02\x00\x05\x00old pak"s},
      {"PAKV5", "pak", "older.pak", "vexa\x02\x00\x04\x00old pak"s},
      {"THREEBSV2", "3bs", "equal.3bs", "vexa\x02\x06\x02\x00old 3bs"s},
      // Byte 5 (9 here) is the update run's version; the comparison reads byte 6.
      {"THREEBSV2", "3bs", "older.3bs", "vexa\x02\x09\x01\x00old 3bs"s},
      {"COKV7", "cok", "equal.cok", "vexa\x02\x07\x00old cok"s},
      {"COKV7", "cok", "older.cok", "vexa\x02\x06\x00old cok"s},
      {"LNGV12", "lng", "equal.lng", "[langver]\r\n12\r\nold\r\n"},
      {"LNGV12", "lng", "older.lng", "[langver]\r\n11\r\nold\r\n"},
      {"EXE1001", "exe", "equal.exe", v1001 + "old"},
      {"EXE1002", "exe", "older.exe", v1001},
      {"EXE1001", "exe", "noversion.exe", EmbeddedBytes("EXENOFV", "exe")},
      {"EXE1001", "exe", "text.exe", "no program"},
  };
  const bool had_progress_window = ProgressWindowCreated();
  DialogRobot robot;
  for (const Replacement& c : cases) {
    const std::string target = scratch.Path() + c.target;
    WriteBytes(target, c.installed);
    ASSERT_EQ(ReadBytes(target), c.installed);
    EXPECT_TRUE(InstallPackageFile(c.resource, c.kind, target, kComparingMode)) << c.target;
    const std::string expected = EmbeddedBytes(c.resource, c.kind);
    ASSERT_FALSE(expected.empty());
    EXPECT_EQ(ReadBytes(target), expected) << c.target;
  }
  EXPECT_FALSE(HasStagingFile(scratch.Path()));
  EXPECT_TRUE(robot.Seen().empty());
  // No question, so the progress window was not touched.
  EXPECT_EQ(ProgressWindowCreated(), had_progress_window);
}

TEST(InstallPackageFileComparingTest, NoToANewerInstalled3bsKeepsItAndShowsTheProgressWindowAgain) {
  ScratchFolder scratch;
  const BuiltInTexts english(false);
  ShowProgressWindow("Installing", "vexa.3bs");
  ASSERT_TRUE(test::WaitFor([] { return ProgressWindowCreated(); }));
  HWND progress = ProgressWindowHandle();
  ASSERT_TRUE(::IsWindowVisible(progress));

  const std::string target = scratch.Path() + "vexa.3bs";
  const std::string installed = "vexa\x02\x06\x09\x00installed"s;
  WriteBytes(target, installed);
  DialogRobot robot;  // answers No
  {
    BoxMoment moment;
    EXPECT_TRUE(InstallPackageFile("THREEBSV2", "3bs", target, kComparingMode));
    ASSERT_TRUE(BoxMoment::seen);
    EXPECT_FALSE(BoxMoment::progress_visible);
  }
  const auto seen = robot.Seen();
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].caption, kOlderQuestionCaptionEn);
  EXPECT_EQ(seen[0].text, EnglishOlderQuestion(target, "9", "2"));
  EXPECT_EQ(seen[0].buttons.size(), 2u);
  EXPECT_EQ(seen[0].clicked, IDNO);
  EXPECT_EQ(ReadBytes(target), installed);
  EXPECT_FALSE(Exists(StagingFileName(target)));

  EXPECT_TRUE(::IsWindowVisible(progress));
  EXPECT_EQ(test::WindowTextUtf8(progress), "");
  EXPECT_EQ(StaticText(progress), "");
}

TEST(InstallPackageFileComparingTest, YesReplacesAndTheRussianQuestionNamesBothVersions) {
  ScratchFolder scratch;
  const BuiltInTexts russian(true);
  const std::string target = scratch.Path() + "vexa.cok";
  WriteBytes(target, "vexa\x02\x09\x00installed"s);
  DialogRobot robot(::GetCurrentProcessId(), {IDYES});
  EXPECT_TRUE(InstallPackageFile("COKV7", "cok", target, kComparingMode));

  const auto seen = robot.Seen();
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].caption, AsShown(kOlderQuestionCaptionRu));
  EXPECT_EQ(seen[0].text, AsShown(std::string(kOlderQuestionRu1) + target + "\r\n" + std::string(kOlderQuestionRu2) +
                                  std::string(kOlderQuestionRu3) + std::string(kOlderQuestionRu4) + "9" +
                                  std::string(kOlderQuestionRu5) + "7?"));
  EXPECT_EQ(ReadBytes(target), EmbeddedBytes("COKV7", "cok"));
  EXPECT_FALSE(HasStagingFile(scratch.Path()));
  // After a question the progress window is shown, made first if there was none.
  ASSERT_TRUE(test::WaitFor([] { return ProgressWindowCreated(); }));
  EXPECT_TRUE(::IsWindowVisible(ProgressWindowHandle()));
  EXPECT_EQ(test::WindowTextUtf8(ProgressWindowHandle()), "");
}

TEST(InstallPackageFileComparingTest, TheEnglishQuestionNamesTheExeVersions) {
  ScratchFolder scratch;
  const BuiltInTexts english(false);
  const std::string target = scratch.Path() + "tool.exe";
  const std::string installed = EmbeddedBytes("EXE1002", "exe");
  WriteBytes(target, installed);
  DialogRobot robot;
  EXPECT_TRUE(InstallPackageFile("EXE1001", "exe", target, kComparingMode));
  const auto seen = robot.Seen();
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].caption, kOlderQuestionCaptionEn);
  EXPECT_EQ(seen[0].text, EnglishOlderQuestion(target, "1.0.0.2", "1.0.0.1"));
  EXPECT_EQ(ReadBytes(target), installed);
  EXPECT_FALSE(HasStagingFile(scratch.Path()));
}

TEST(InstallPackageFileComparingTest, LanguageFilesWithExclamationMarkAreNotCompared) {
  ScratchFolder scratch;
  const BuiltInTexts english(false);
  ::CreateDirectoryA((scratch.Path() + "lang!uage").c_str(), nullptr);
  const std::string installed = "[langver]\r\n99\r\n";
  struct Case {
    const char* target;
    bool asks;
  } cases[] = {
      {"lang!uage\\russian.lng", false},
      {"russian!.lng", false},
      {"russian.lng", true},
  };
  for (const Case& c : cases) {
    const std::string target = scratch.Path() + c.target;
    WriteBytes(target, installed);
    DialogRobot robot;  // answers No
    EXPECT_TRUE(InstallPackageFile("LNGV12", "lng", target, kComparingMode)) << c.target;
    EXPECT_EQ(robot.Seen().size(), c.asks ? 1u : 0u) << c.target;
    EXPECT_EQ(ReadBytes(target), c.asks ? installed : EmbeddedBytes("LNGV12", "lng")) << c.target;
    EXPECT_FALSE(Exists(StagingFileName(target))) << c.target;
  }
}

TEST(InstallPackageFileComparingTest, AnUnusableInstalledLanguageFileCountsAsZero) {
  ScratchFolder scratch;
  const BuiltInTexts english(false);
  const std::string target = scratch.Path() + "english.lng";
  WriteBytes(target, "[langver]\r\n99 \r\n");  // not a number: version 0
  DialogRobot robot;
  EXPECT_TRUE(InstallPackageFile("LNGV12", "lng", target, kComparingMode));
  const auto seen = robot.Seen();
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].text, std::string(kCantHandleLangFileEn) + target);
  EXPECT_EQ(ReadBytes(target), EmbeddedBytes("LNGV12", "lng"));
}

TEST(InstallPackageFileComparingTest, OtherKindsAndNewFilesAreWrittenDirectly) {
  ScratchFolder scratch;
  const BuiltInTexts english(false);
  const Replacement cases[] = {
      {"PLAIN", "dat", "data.dat", "old dat"},
      // Kinds are compared exactly: "PAK" is another kind, so a newer pak is replaced.
      {"PAKV5", "PAK", "upper.pak", "vexa\x02\x00\x09\x00newer"s},
      {"PAKV5", "pak", "new.pak", ""},
      {"EXE1001", "exe", "new.exe", ""},
  };
  DialogRobot robot;
  for (const Replacement& c : cases) {
    const std::string target = scratch.Path() + c.target;
    if (!c.installed.empty()) WriteBytes(target, c.installed);
    EXPECT_TRUE(InstallPackageFile(c.resource, c.kind, target, kComparingMode)) << c.target;
    EXPECT_EQ(ReadBytes(target), EmbeddedBytes(c.resource, c.kind)) << c.target;
  }
  EXPECT_FALSE(HasStagingFile(scratch.Path()));
  EXPECT_TRUE(robot.Seen().empty());
}

TEST(InstallPackageFileComparingTest, ALockedTargetShowsTheErrorOnceAndStays) {
  ScratchFolder scratch;
  const BuiltInTexts english(false);
  const std::string target = scratch.Path() + "locked.pak";
  const std::string installed = "vexa\x02\x00\x04\x00installed"s;
  WriteBytes(target, installed);
  DialogRobot robot;
  {
    // Open for reading without FILE_SHARE_DELETE: nobody can replace it meanwhile.
    ScopedFileHandle holder(::CreateFileA(target.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                          FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(holder);
    EXPECT_FALSE(InstallPackageFile("PAKV5", "pak", target, kComparingMode));
  }
  const auto seen = robot.Seen();
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].caption, test::kTestTitleEn);
  EXPECT_EQ(seen[0].text, std::string(kCantInstallFileEn) + target);
  EXPECT_EQ(ReadBytes(target), installed);
  EXPECT_FALSE(HasStagingFile(scratch.Path()));
}

TEST(InstallPackageFileComparingTest, AMissingResourceLeavesTheTarget) {
  ScratchFolder scratch;
  const BuiltInTexts english(false);
  const std::string target = scratch.Path() + "kept.pak";
  WriteBytes(target, "installed");
  DialogRobot robot;
  EXPECT_FALSE(InstallPackageFile("NOSUCH", "pak", target, kComparingMode));
  const auto seen = robot.Seen();
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].text, std::string(kCantInstallFileEn) + target);
  EXPECT_EQ(ReadBytes(target), "installed");
  EXPECT_FALSE(HasStagingFile(scratch.Path()));
}

// While a language file is in use, the question's caption and text are its
// "soundquest" and "olderfilever" (with the target path as %1).
TEST(InstallPackageFileComparingTest, WithALanguageFileTheQuestionIsInItsWords) {
  ScratchFolder scratch;
  ProgramState& state = Program();
  const std::string user_key = "Software\\Veltro\\Orvel";
  HKEY existing = nullptr;
  const bool had_user_key =
      ::RegOpenKeyExA(HKEY_CURRENT_USER, user_key.c_str(), 0, KEY_READ | KEY_WOW64_64KEY, &existing) == ERROR_SUCCESS;
  if (existing) ::RegCloseKey(existing);
  state.HostAppName = "Orvel";
  state.HostFolder = scratch.Path();
  state.UpdateTitle = state.UpdateTitleEn = test::kTestTitleEn;
  if (!state.SharedRegistry) state.SharedRegistry = std::make_unique<RegistryAccess>(RegistryAccessMask(true));
  ::CreateDirectoryA((scratch.Path() + "language").c_str(), nullptr);
  WriteBytes(scratch.Path() + "language\\english.lng",
             "[progname]\r\nOrvel\r\n\r\n[langcharset]\r\n0\r\n\r\n[langver]\r\n1\r\n\r\n[langcode]\r\n1033\r\n\r\n"
             "[soundquest]\r\nA question\r\n\r\n"
             "[olderfilever]\r\nThe file %1 is older\r\nthan the installed one. Replace it?\r\n\r\n");
  ASSERT_TRUE(LoadLanguageFiles());
  ASSERT_GE(CurrentLangIndex, 0);

  const std::string target = scratch.Path() + "vexa.pak";
  WriteBytes(target, "vexa\x02\x00\x09\x00installed"s);
  DialogRobot robot;
  EXPECT_TRUE(InstallPackageFile("PAKV5", "pak", target, kComparingMode));
  const auto seen = robot.Seen();
  const std::string caption = LangText("soundquest");
  const std::string text = LangTextBlockArgs("olderfilever", {target}, false);
  DoneLanguageFiles();
  if (!had_user_key) test::DeleteRegistryTree(HKEY_CURRENT_USER, user_key);

  ASSERT_EQ(seen.size(), 1u);
  EXPECT_FALSE(caption.empty());
  EXPECT_NE(text.find(target), std::string::npos);
  EXPECT_EQ(seen[0].caption, AsShown(caption));
  EXPECT_EQ(seen[0].text, AsShown(text));
  EXPECT_EQ(seen[0].clicked, IDNO);
}

}  // namespace
}  // namespace orvel
