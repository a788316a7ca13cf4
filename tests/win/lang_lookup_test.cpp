// Texts by key from the chosen file with the default file as fallback, the
// placeholders, the error box, and what the user sees when a file cannot be read.
#include "lang/text_lookup.h"

#include "base/builtin_texts.h"
#include "lang/language_list.h"
#include "lang_fixture.h"

namespace orvel {
namespace {

using test::DialogRobot;
using test::ExclusiveLock;
using test::LangFileText;
using test::Utf8FromCodePage;

// English is the default file; German, chosen by the locale, lacks some keys.
class TextLookupTest : public test::LangTest {
 protected:
  void SetUp() override {
    LangTest::SetUp();
    Write("english.lng", LangFileText("English", "1033",
                                      "[onlyenglish]\r\nfrom English\r\n"
                                      "[emptyingerman]\r\nEnglish fills in\r\n"
                                      "[blockenglish]\r\ne1\r\ne2\r\n\r\n"
                                      "[onlydefault]\r\nEnglish default\r\n"));
    Write("russian.lng", LangFileText("Russian", "1049", "[onlydefault]\r\nRussian default\r\n"));
    Write("german.lng", LangFileText("Deutsch", "1031",
                                     "[emptyingerman]\r\n\r\n"
                                     "[blanks]\r\n   \r\n"
                                     "[Block]\r\nb1\r\n[inside]\r\nb3\r\n\r\n"
                                     "[installask]\r\n%1 installiert %2.\r\nJetzt?\r\n\r\n"
                                     "[installdone]\r\n%1 ist fertig.\r\n"));
    Program().UserLcid = 1031;
  }

  bool Load() {
    const bool loaded = LoadLanguageFiles();
    return loaded && LangFileNames[CurrentLangIndex] == "german.lng";
  }
};

TEST_F(TextLookupTest, CurrentFileFirstThenTheDefaultFile) {
  DialogRobot robot;
  ASSERT_TRUE(Load());
  EXPECT_EQ(LangText("progname"), "Deutsch title");
  EXPECT_EQ(LangText("PROGNAME"), "Deutsch title");
  EXPECT_EQ(LangText("onlyenglish"), "from English");
  EXPECT_EQ(LangText("emptyingerman"), "English fills in");
  EXPECT_EQ(LangText("blanks"), "   ");
  EXPECT_EQ(LangText("nowhere"), "");
  EXPECT_EQ(DefaultLangText("progname"), "English title");

  EXPECT_EQ(LangTextBlock("block"), "b1\r\n[inside]\r\nb3");
  EXPECT_EQ(LangText("block"), "b1");  // a one-line lookup right after a block lookup
  EXPECT_EQ(LangText("inside"), "b3");
  EXPECT_EQ(LangTextBlock("blockenglish"), "e1\r\ne2");
  EXPECT_EQ(LangTextBlock("nowhere"), "");
  EXPECT_EQ(DefaultLangTextBlock("blockenglish"), "e1\r\ne2");

  // The first line skipped only in what the current file gives.
  EXPECT_EQ(LangTextBlock("block", true), "[inside]\r\nb3");
  EXPECT_EQ(LangTextBlock("installdone", true), "");  // a one-line value
  EXPECT_EQ(LangTextBlock("blockenglish", true), "e1\r\ne2");
  EXPECT_TRUE(Boxes(robot).empty());
}

TEST_F(TextLookupTest, DefaultFileFollowsTheInterfaceLanguage) {
  for (const bool russian_ui : {false, true}) {
    Program().RussianUi = russian_ui;
    ASSERT_TRUE(Load());
    EXPECT_EQ(LangText("onlydefault"), russian_ui ? "Russian default" : "English default");
    EXPECT_EQ(LangText("onlyenglish"), russian_ui ? "" : "from English");
  }
}

TEST_F(TextLookupTest, ArgumentsFillThePlaceholders) {
  ASSERT_TRUE(Load());
  EXPECT_EQ(LangTextBlockArgs("installask", {"Orvel-Aktualisierung", "Sternenfalter 6"}),
            "Orvel-Aktualisierung installiert Sternenfalter 6.\r\nJetzt?");
  EXPECT_EQ(LangTextArgs("installdone", {"X (%2)", "Y"}), "X (Y) ist fertig.");
  EXPECT_EQ(LangTextBlockArgs("installask", {"only one"}), "only one installiert .\r\nJetzt?");
  EXPECT_EQ(LangTextArgs("onlyenglish", {"unused"}), "from English");
}

TEST_F(TextLookupTest, ShowErrorUsesTheChosenFilesTitle) {
  ASSERT_TRUE(Load());
  DialogRobot robot;
  ShowError("Zeile 1\r\nZeile 2");
  EXPECT_EQ(Boxes(robot), std::vector<std::string>{"Deutsch title | Zeile 1\r\nZeile 2"});
}

TEST_F(TextLookupTest, UnreadableCurrentFileIsReportedOncePerLookup) {
  ASSERT_TRUE(Load());
  // Let go of German, lock it, and make it current again.
  ASSERT_TRUE(SelectLanguageFile(EnglishLangIndex));
  ExclusiveLock lock(Folder() + "german.lng");
  ASSERT_TRUE(lock.Held());
  const std::int32_t german = FindLangFileName(LangFileNames, "german.lng");

  DialogRobot robot;
  EXPECT_FALSE(SelectLanguageFile(german));  // "langcharset" reads as empty
  EXPECT_EQ(robot.Seen().size(), 3u);
  EXPECT_EQ(LangText("onlyenglish"), "");  // no fallback for an unreadable file
  EXPECT_EQ(LangTextBlock("blockenglish"), "");
  EXPECT_EQ(LangTextArgs("installdone", {"x"}), "");
  const std::string cant = "Orvel update | " + std::string(kCantHandleLangFileEn) + "german.lng";
  EXPECT_EQ(Boxes(robot), std::vector<std::string>(6, cant));
}

TEST_F(TextLookupTest, UnreadableFileMessageInRussian) {
  Program().RussianUi = true;
  ASSERT_TRUE(Load());
  ASSERT_TRUE(SelectLanguageFile(EnglishLangIndex));
  ExclusiveLock lock(Folder() + "german.lng");
  ASSERT_TRUE(lock.Held());

  DialogRobot robot;
  EXPECT_FALSE(SelectLanguageFile(FindLangFileName(LangFileNames, "german.lng")));
  const std::vector<std::string> boxes = Boxes(robot);
  ASSERT_EQ(boxes.size(), 3u);
  // Captioned by the title in force when the lookup failed: the English file's.
  EXPECT_EQ(boxes[0], "English title | " + Utf8FromCodePage(std::string(kCantHandleLangFileRu) + "german.lng", CP_ACP));
}

TEST_F(TextLookupTest, UnreadableDefaultFileIsReportedDuringAFallback) {
  ASSERT_TRUE(Load());
  ExclusiveLock lock(Folder() + "english.lng");
  ASSERT_TRUE(lock.Held());  // the default file is open only during a fallback

  DialogRobot robot;
  EXPECT_EQ(LangText("onlyenglish"), "");
  EXPECT_EQ(LangTextBlock("blockenglish"), "");
  EXPECT_EQ(LangText("progname"), "Deutsch title");  // no fallback, no message
  EXPECT_EQ(Boxes(robot), std::vector<std::string>(2, "Orvel update | " + std::string(kCantHandleLangFileEn) + "english.lng"));
}

TEST_F(TextLookupTest, CurrentFileStaysSharedForReadingOnlyAndChangesAreSeen) {
  ASSERT_TRUE(Load());
  EXPECT_EQ(LangText("onlyenglish"), "from English");
  const std::string german = Folder() + "german.lng";

  // Orvel cannot write the current file meanwhile, but may read it.
  HANDLE reader = ::CreateFileA(german.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  EXPECT_NE(reader, INVALID_HANDLE_VALUE);
  if (reader != INVALID_HANDLE_VALUE) ::CloseHandle(reader);
  HANDLE writer = ::CreateFileA(german.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, 0, nullptr);
  EXPECT_EQ(writer, INVALID_HANDLE_VALUE);
  EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
  if (writer != INVALID_HANDLE_VALUE) ::CloseHandle(writer);

  // The default file is free between lookups: a change is seen by the next one.
  Write("english.lng", LangFileText("English", "1033", "[onlyenglish]\r\nchanged\r\n"));
  EXPECT_EQ(LangText("onlyenglish"), "changed");

  // Once another file is current, German can be changed, and is read anew.
  ASSERT_TRUE(SelectLanguageFile(EnglishLangIndex));
  Write("german.lng", LangFileText("Neu", "1031"));
  ASSERT_TRUE(SelectLanguageFile(FindLangFileName(LangFileNames, "german.lng")));
  EXPECT_EQ(Program().UpdateTitle, "Neu title");
}

}  // namespace
}  // namespace orvel
