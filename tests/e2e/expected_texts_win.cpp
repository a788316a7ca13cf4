// The expected language texts (see expected_texts.h).
//
// The installer does not read Orvel's language files yet: each text it shows is the
// key followed by its arguments ("installask liveupdatecaption starmoths 6"), and the
// caption of its language-text errors stays the built-in Russian title. When the
// language files are read, replace the two tables below with the texts of
// testdata/language/english.lng and russian.lng (block texts joined with "\r\n").
#include "expected_texts.h"

#include <windows.h>

#include <map>

#include "robot/dialog_robot.h"

namespace orvel::e2e {

namespace {

// Until a language file names the program, the caption of language-text errors is
// the built-in Russian title: Windows-1251 bytes, which the ANSI message box shows
// in the user's code page (so an English session sees them as Windows-1252).
std::string BuiltInTitleAsShown() {
  return test::Utf8FromCodePage(test::CodePageFromUtf8(kRussianTitle, 1251), ::GetACP());
}

using TextTable = std::map<std::string, std::string, std::less<>>;

TextTable EnglishTexts() {
  return {
      {"progname", BuiltInTitleAsShown()},
      {"noright", "noright"},
      {"filecantopen", "filecantopen %1"},
      {"soundquest", "soundquest"},
      {"olderfilever", "olderfilever %1"},
      {"liveupdatecaption", "liveupdatecaption"},
      {"installask", "installask %1 %2"},
      {"installdone", "installdone %1"},
      {"asktorun", "asktorun"},
      {"starmoths", "starmoths"},
  };
}

TextTable RussianTexts() {
  TextTable texts = EnglishTexts();
  texts["progname"] = BuiltInTitleAsShown();
  return texts;
}

std::string Filled(std::string text, std::initializer_list<std::string> args) {
  int number = 1;
  for (const std::string& arg : args) {
    const std::string placeholder = "%" + std::to_string(number++);
    for (std::size_t at = text.find(placeholder); at != std::string::npos;
         at = text.find(placeholder, at + arg.size()))
      text.replace(at, placeholder.size(), arg);
  }
  return text;
}

}  // namespace

bool RussianSession() {
  switch (::GetUserDefaultLCID()) {
    case 1026: case 1049: case 1058: case 1059: case 1087: case 1092: case 2073:
      return true;
  }
  return false;
}

std::string LanguageText(std::string_view key, std::initializer_list<std::string> args) {
  static const TextTable english = EnglishTexts();
  static const TextTable russian = RussianTexts();
  const TextTable& table = RussianSession() ? russian : english;
  const auto found = table.find(key);
  if (found == table.end()) return "<no expected text for key " + std::string(key) + ">";
  return Filled(found->second, args);
}

}  // namespace orvel::e2e
