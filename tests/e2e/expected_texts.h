// What the end-to-end tests expect the installer to say, as the dialog robot reads
// it (UTF-8). The installer's own built-in messages come from its own table
// (base/builtin_texts.h), so that changing one changes what the tests expect; every
// text that comes from Orvel's language files goes through LanguageText, whose table
// (expected_texts_win.cpp) is the one place to change when the language texts change.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

#include "base/builtin_texts.h"
#include "robot/dialog_robot.h"

namespace orvel::e2e {

// The text of a language-file key as the current user locale's language file gives
// it, with "%1".."%4" filled from `args`.
std::string LanguageText(std::string_view key, std::initializer_list<std::string> args = {});

// True when the user locale of this process makes the installer speak Russian.
bool RussianSession();

// Built-in messages (not from the language files); the Russian ones as the robot
// reads their Windows-1251 bytes.
inline std::string Russian(std::string_view windows_1251) { return test::Utf8FromCodePage(windows_1251, 1251); }
inline constexpr char kEnglishTitle[] = "Orvel update";
inline const std::string kRussianTitle = Russian(kUpdateTitleRu);
inline const std::string kHostMissingEnglish{kHostMissingEn};
inline const std::string kHostMissingRussian = Russian(kHostMissingRu);
inline const std::string kRegistryErrorEnglish{kRegistryErrorEn};
inline const std::string kRegistryErrorRussian = Russian(kRegistryErrorRu);
// Both followed by the target path.
inline const std::string kCantInstallEnglish{kCantInstallFileEn};
inline const std::string kCantInstallRussian = Russian(kCantInstallFileRu);
// After the language file's name.
inline const std::string kLangFileErrorsEnglish{kLangFileErrorsEn2};

}  // namespace orvel::e2e
