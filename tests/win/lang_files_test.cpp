// Finding, checking, probing and choosing the language files, with the messages the
// user sees when they cannot be used.
#include "lang/language_files.h"

#include <algorithm>

#include "base/builtin_texts.h"
#include "lang/language_list.h"
#include "lang/text_lookup.h"
#include "lang_fixture.h"

namespace orvel {
namespace {

using test::DialogRobot;
using test::ExclusiveLock;
using test::LangFileText;
using test::Utf8FromCodePage;

class LanguageFilesTest : public test::LangTest {};

// The "*.lng" names of the folder in the order the file system lists them.
std::vector<std::string> ListingOrder(const std::string& folder) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA entry;
  HANDLE listing = ::FindFirstFileA((folder + "*.lng").c_str(), &entry);
  if (listing == INVALID_HANDLE_VALUE) return names;
  do names.push_back(entry.cFileName);
  while (::FindNextFileA(listing, &entry));
  ::FindClose(listing);
  return names;
}

TEST_F(LanguageFilesTest, MissingDefaultFileEndsTheRunWithABilingualMessage) {
  const struct {
    const char* what;
    bool folder;
    std::vector<std::string> files;
    bool russian_ui;
    const char* missing;
  } cases[] = {
      {"no folder", false, {}, false, "english.lng"},
      {"no folder, Russian", false, {}, true, "russian.lng"},
      {"empty folder", true, {}, false, "english.lng"},
      {"only russian.lng", true, {"russian.lng"}, false, "english.lng"},
      {"only russian.lng, Russian", true, {"russian.lng"}, true, "english.lng"},
      {"only english.lng, Russian", true, {"english.lng"}, true, "russian.lng"},
      {"only other files", true, {"german.lng", "english.txt", "russian.lng.bak"}, false, "english.lng"},
      {"a taken-out english", true, {"english!.lng", "!english.lng"}, false, "english.lng"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    test::RemoveTree(Folder());
    if (c.folder) ASSERT_TRUE(::CreateDirectoryA(Folder().c_str(), nullptr));
    for (const std::string& name : c.files) Write(name, LangFileText(name, "1033"));
    Program().RussianUi = c.russian_ui;
    Program().UpdateTitle = "Russian-style title";
    DialogRobot robot;
    EXPECT_FALSE(LoadLanguageFiles());
    const std::string expected =
        c.russian_ui ? "Russian-style title | " + Utf8FromCodePage(MissingLangFileMessageRu(c.missing), CP_ACP)
                     : "Orvel update | " + MissingLangFileMessageEn(c.missing);
    EXPECT_EQ(Boxes(robot), std::vector<std::string>{expected});
  }
}

TEST_F(LanguageFilesTest, EveryAttributeIsListedButExclamationMarkedFilesAreNeverProbed) {
  Write("english.lng", LangFileText("English", "1033"));
  // Probing either of these would stop the run: their "langver" is no integer.
  Write("!german.lng", "[langver]\r\nbroken\r\n");
  Write("ger!man.lng", "[langver]\r\nbroken\r\n");
  Write("hidden.lng", LangFileText("Hidden", "1031"));
  ::SetFileAttributesA((Folder() + "hidden.lng").c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
  Write("readonly.lng", LangFileText("ReadOnly", "1036"));
  ::SetFileAttributesA((Folder() + "readonly.lng").c_str(), FILE_ATTRIBUTE_READONLY);

  DialogRobot robot;
  EXPECT_TRUE(LoadLanguageFiles());
  EXPECT_TRUE(Boxes(robot).empty());
  std::vector<std::string> names = LangFileNames;
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"english.lng", "hidden.lng", "readonly.lng"}));
  ::SetFileAttributesA((Folder() + "readonly.lng").c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(LanguageFilesTest, CapitalisedEnglishIsTheDefaultFile) {
  Write("ENGLISH.LNG", LangFileText("English", "1033", "[onlyenglish]\r\nfrom English\r\n"));
  Write("german.lng", LangFileText("Deutsch", "1031"));
  Program().UserLcid = 1031;

  DialogRobot robot;
  ASSERT_TRUE(LoadLanguageFiles());
  ASSERT_GE(EnglishLangIndex, 0);
  EXPECT_EQ(LangFileNames[EnglishLangIndex], "ENGLISH.LNG");  // spelled as listed
  EXPECT_EQ(LangFileNames[CurrentLangIndex], "german.lng");
  EXPECT_EQ(LangText("onlyenglish"), "from English");
  EXPECT_TRUE(Boxes(robot).empty());
}

TEST_F(LanguageFilesTest, ProbeRecordsNamesAndVersionsWithDefaultsForMissingKeys) {
  Write("english.lng", LangFileText("English", "1033"));
  // No "langname", "langver", "progname": taken from the default file.
  Write("bare.lng", "[langcharset]\r\n238\r\n[langcode]\r\n1045\r\n");
  Write("padded.lng",
        "[progname]\r\nPadded title\r\n[langcharset]\r\n0\r\n[langname]\r\nPadded\r\n[langver]\r\n   42\r\n"
        "[langcode]\r\n1036\r\n");
  Program().UserLcid = 1045;

  DialogRobot robot;
  ASSERT_TRUE(LoadLanguageFiles());
  EXPECT_TRUE(Boxes(robot).empty());
  const std::int32_t bare = FindLangFileName(LangFileNames, "bare.lng");
  const std::int32_t padded = FindLangFileName(LangFileNames, "padded.lng");
  ASSERT_GE(bare, 0);
  ASSERT_GE(padded, 0);
  EXPECT_EQ(LangNames[bare], "English");
  EXPECT_EQ(LangVersions[bare], 3);
  EXPECT_EQ(LangNames[padded], "Padded");
  EXPECT_EQ(LangVersions[padded], 42);  // leading spaces are allowed
  EXPECT_EQ(CurrentLangIndex, bare);
  EXPECT_EQ(MatchedLangIndex, bare);
  EXPECT_EQ(LanguageId, 1045);
  EXPECT_EQ(CurrentLangCharset, 238);
  EXPECT_EQ(Program().UpdateTitle, "English title");
  EXPECT_EQ(ProgramDescription, "English description");
}

TEST_F(LanguageFilesTest, ChoiceByLocaleThenByTheUsersLangFile) {
  Write("english.lng", LangFileText("English", "1033\r\n2057"));
  Write("German.lng", LangFileText("Deutsch", "1031\r\n2055\r\n3079"));
  Write("russian.lng", LangFileText("Russian", "1049\r\n2073"));
  const struct {
    std::uint32_t lcid;
    bool russian_ui;
    const char* lang_file;  // nullptr: no value
    const char* chosen;
    std::int32_t language_id;
  } cases[] = {
      {1033, false, nullptr, "english.lng", 1033},
      {2057, false, nullptr, "english.lng", 1033},
      {2055, false, nullptr, "German.lng", 1031},
      {2073, true, nullptr, "russian.lng", 1049},  // the first line is the language
      {1036, false, nullptr, "english.lng", 1033},  // no match: the default
      {1058, true, nullptr, "russian.lng", 1049},   // no match, Russian interface
      {1033, false, "German.lng", "German.lng", 1031},
      {2055, false, "english.lng", "english.lng", 1033},  // the user's choice wins
      {1049, true, "German.lng", "German.lng", 1031},
      {1033, false, "german.lng", "english.lng", 1033},  // another letter case
      {1031, false, "french.lng", "German.lng", 1031},   // not listed
      {1031, false, "", "German.lng", 1031},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.lcid) + " / " + (c.lang_file ? c.lang_file : "(none)"));
    test::DeleteRegistryTree(HKEY_CURRENT_USER, UserKey());
    if (c.lang_file) test::SetRegistryString(HKEY_CURRENT_USER, UserKey(), "LangFile", c.lang_file);
    Program().UserLcid = c.lcid;
    Program().RussianUi = c.russian_ui;
    DialogRobot robot;
    ASSERT_TRUE(LoadLanguageFiles());
    EXPECT_EQ(LangFileNames[CurrentLangIndex], c.chosen);
    EXPECT_EQ(LanguageId, c.language_id);
    EXPECT_FALSE(Program().SharedRegistry->HasOpenKey());
    EXPECT_TRUE(Boxes(robot).empty());
  }

  // A value of another type is no choice.
  test::DeleteRegistryTree(HKEY_CURRENT_USER, UserKey());
  test::SetRegistryDword(HKEY_CURRENT_USER, UserKey(), "LangFile", 1);
  Program().UserLcid = 1031;
  ASSERT_TRUE(LoadLanguageFiles());
  EXPECT_EQ(LangFileNames[CurrentLangIndex], "German.lng");
  EXPECT_FALSE(Program().SharedRegistry->HasOpenKey());
}

TEST_F(LanguageFilesTest, LaterFileInTheListingWinsForTheLocale) {
  Write("english.lng", LangFileText("English", "1033"));
  Write("austrian.lng", LangFileText("Austrian", "3079\r\n1031"));
  Write("german.lng", LangFileText("German", "1031"));
  Write("swiss.lng", LangFileText("Swiss", "2055\r\n1031"));
  Program().UserLcid = 1031;

  std::string expected;
  for (const std::string& name : ListingOrder(Folder()))
    if (name != "english.lng") expected = name;
  ASSERT_FALSE(expected.empty());

  ASSERT_TRUE(LoadLanguageFiles());
  EXPECT_EQ(LangFileNames[CurrentLangIndex], expected);
  EXPECT_EQ(MatchedLangIndex, CurrentLangIndex);
  EXPECT_EQ(LangFileNames, ListingOrder(Folder()));
}

TEST_F(LanguageFilesTest, IntegerThatDoesNotParseStopsTheProbe) {
  const struct {
    const char* what;
    std::string broken;
  } cases[] = {
      {"langver with a trailing blank", "[langver]\r\n12 \r\n[langcharset]\r\n0\r\n[langcode]\r\n1031\r\n"},
      {"langcharset", "[langver]\r\n12\r\n[langcharset]\r\nwestern\r\n[langcode]\r\n1031\r\n"},
      {"langcode first line", "[langver]\r\n12\r\n[langcharset]\r\n0\r\n[langcode]\r\n1031x\r\n"},
      {"langcode later line", "[langver]\r\n12\r\n[langcharset]\r\n0\r\n[langcode]\r\n1031\r\n$\r\n"},
  };
  for (const bool russian_ui : {false, true}) {
    for (const auto& c : cases) {
      SCOPED_TRACE(std::string(c.what) + (russian_ui ? ", Russian" : ""));
      DoneLanguageFiles();  // lets go of the file the last case stopped at
      test::RemoveTree(Folder());
      ASSERT_TRUE(::CreateDirectoryA(Folder().c_str(), nullptr));
      Write("english.lng", LangFileText("English", "1033"));
      Write("russian.lng", LangFileText("Russian", "1049"));
      Write("Broken.lng", c.broken);
      Program().RussianUi = russian_ui;
      DialogRobot robot;
      EXPECT_FALSE(LoadLanguageFiles());
      const std::string expected =
          russian_ui ? Program().UpdateTitle + " | " + Utf8FromCodePage(BrokenLangFileMessageRu("Broken.lng"), CP_ACP)
                     : "Orvel update | " + BrokenLangFileMessageEn("Broken.lng");
      EXPECT_EQ(Boxes(robot), std::vector<std::string>{expected});
    }
  }
}

TEST_F(LanguageFilesTest, UnreadableFileIsReportedByEachLookupOfTheProbe) {
  for (const std::string name : {"locked.lng", "folder.lng"}) {
    SCOPED_TRACE(name);
    DoneLanguageFiles();
    test::RemoveTree(Folder());
    ASSERT_TRUE(::CreateDirectoryA(Folder().c_str(), nullptr));
    Write("english.lng", LangFileText("English", "1033"));
    if (name == "folder.lng") {
      // Folder entries are listed too; opening one as a file fails.
      ASSERT_TRUE(::CreateDirectoryA((Folder() + name).c_str(), nullptr));
    } else {
      Write(name, LangFileText("Locked", "1031"));
    }
    ExclusiveLock lock(Folder() + "locked.lng");
    ASSERT_EQ(lock.Held(), name == "locked.lng");

    DialogRobot robot;
    EXPECT_FALSE(LoadLanguageFiles());
    // "progname", "ProgDescr0" and "langcharset" meet the file; the empty
    // "langcharset" is no integer.
    const std::string cant = "Orvel update | " + std::string(kCantHandleLangFileEn) + name;
    EXPECT_EQ(Boxes(robot), (std::vector<std::string>{cant, cant, cant, "Orvel update | " + BrokenLangFileMessageEn(name)}));
  }
}

TEST_F(LanguageFilesTest, ShutdownForgetsEverything) {
  Write("english.lng", LangFileText("English", "1033"));
  ASSERT_TRUE(LoadLanguageFiles());
  DoneLanguageFiles();
  EXPECT_TRUE(LangFileNames.empty());
  EXPECT_TRUE(LangNames.empty());
  EXPECT_EQ(CurrentLangIndex, -1);
  EXPECT_EQ(EnglishLangIndex, -1);
  EXPECT_EQ(LanguageId, -1);
  EXPECT_EQ(CurrentLangCharset, 255);
  EXPECT_EQ(LangText("progname"), "");
  // The current file is no longer held.
  HANDLE file = ::CreateFileA((Folder() + "english.lng").c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  EXPECT_NE(file, INVALID_HANDLE_VALUE);
  if (file != INVALID_HANDLE_VALUE) ::CloseHandle(file);
}

}  // namespace
}  // namespace orvel
