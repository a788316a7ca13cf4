// The expected language texts (see expected_texts.h): the texts of the sample
// language files in testdata/language, which every test installation carries. An
// English session is given english.lng, a Russian one russian.lng (their "langcode"
// lists hold the user locale). Block texts are joined with "\r\n".
#include "expected_texts.h"

#include <windows.h>

#include <map>

namespace orvel::e2e {

namespace {

using TextTable = std::map<std::string, std::string, std::less<>>;

TextTable EnglishTexts() {
  return {
      {"progname", "Orvel"},
      {"noright",
       "Administrator rights are needed to install this update.\r\n"
       "Please start the installer again as an administrator."},
      {"filecantopen",
       "The file\r\n%1\r\ncannot be opened because another program is using it.\r\n"
       "Please close Orvel and try again."},
      {"soundquest", "Please confirm"},
      {"olderfilever",
       "The file %1 about to be installed is older than the one already installed.\r\n"
       "Do you really want to replace it with the older version?"},
      {"liveupdatecaption", "Orvel update"},
      {"installask",
       "%1 is ready to install %2.\r\nIf Orvel is running, it will be closed for the installation.\r\n"
       "Install the update now?"},
      {"installdone", "%1 has been installed successfully."},
      {"asktorun", "Start Orvel now?"},
      {"starmoths", "Star Moths"},
      {"badinstaller",
       "The installer is damaged and cannot go on.\r\nPlease download it again from the Orvel website."},
  };
}

TextTable RussianTexts() {
  return {
      {"progname", "Орвел"},
      {"noright",
       "Для установки обновления нужны права администратора.\r\n"
       "Пожалуйста, запустите установщик от имени администратора."},
      {"filecantopen",
       "Не удаётся открыть файл\r\n%1\r\nОн занят другой программой.\r\n"
       "Закройте «Орвел» и попробуйте снова."},
      {"soundquest", "Подтвердите, пожалуйста"},
      {"olderfilever",
       "Устанавливаемый файл %1 старше уже установленного.\r\n"
       "Вы действительно хотите заменить его более старой версией?"},
      {"liveupdatecaption", "Обновление «Орвела»"},
      {"installask",
       "%1 готово установить %2.\r\nЕсли «Орвел» запущен, на время установки он будет закрыт.\r\n"
       "Установить обновление сейчас?"},
      {"installdone", "%1 успешно установлено."},
      {"asktorun", "Запустить «Орвел» сейчас?"},
      {"starmoths", "Звёздные мотыльки"},
      {"badinstaller",
       "Установщик повреждён, продолжение невозможно.\r\nПожалуйста, загрузите его заново с сайта «Орвела»."},
  };
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
