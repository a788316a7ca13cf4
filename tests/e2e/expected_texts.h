// What the end-to-end tests expect the installer to say, as the dialog robot reads
// it (UTF-8). The installer's own built-in messages are fixed here word for word;
// every text that comes from Orvel's language files goes through LanguageText, whose
// table (expected_texts_win.cpp) is the one place to change when the language texts
// change.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

namespace orvel::e2e {

// The text of a language-file key as the current user locale's language file gives
// it, with "%1".."%4" filled from `args`.
std::string LanguageText(std::string_view key, std::initializer_list<std::string> args = {});

// True when the user locale of this process makes the installer speak Russian.
bool RussianSession();

// Built-in messages (not from the language files).
inline constexpr char kEnglishTitle[] = "Orvel update";
inline constexpr char kRussianTitle[] = "Обновление программы \"Орвел\"";
inline constexpr char kHostMissingEnglish[] = "There's no Orvel installed.\r\nPlease install the program first.";
inline constexpr char kHostMissingRussian[] =
    "Нет установленной программы \"Орвел\"!\r\nПожалуйста, сначала установите её.";
inline constexpr char kRegistryErrorEnglish[] = "No access to system registry";
inline constexpr char kRegistryErrorRussian[] = "Нет доступа к системному реестру";
// Both followed by the target path.
inline constexpr char kCantInstallEnglish[] = "Can't install file ";
inline constexpr char kCantInstallRussian[] = "Не удается установить файл ";
// After the language file's name.
inline constexpr char kLangFileErrorsEnglish[] = " file contains errors.\r\nPlease reinstall the program.";

}  // namespace orvel::e2e
