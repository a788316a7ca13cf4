// Temporary stand-in until Orvel's language files are read: every text is its key,
// with the arguments appended, so a run can be followed in its messages.
#include "lang/text_lookup.h"

#include <windows.h>

#include "app/program_state.h"
#include "app/russian_texts.h"
#include "lang/language_files.h"

namespace orvel {

std::int32_t CurrentLangIndex = -1;
std::int32_t LanguageId = -1;

bool LoadLanguageFiles() {
  CurrentLangIndex = 0;
  LanguageId = 1033;
  return true;
}

std::string LangText(std::string_view key) { return std::string(key); }

std::string LangTextBlock(std::string_view key, bool) { return std::string(key); }

std::string LangTextArgs(std::string_view key, TextArgs args) {
  std::string text(key);
  for (std::string_view arg : args) {
    text += ' ';
    text += arg;
  }
  return text;
}

std::string LangTextBlockArgs(std::string_view key, TextArgs args, bool) {
  return LangTextArgs(key, args);
}

void ShowError(const std::string& text) {
  ::MessageBoxExA(nullptr, text.c_str(), Program().UpdateTitle.c_str(),
                  MB_OK | MB_ICONERROR | MB_SERVICE_NOTIFICATION,
                  static_cast<WORD>(LanguageId & 0xffff));
}

}  // namespace orvel

namespace orvel {

void ShowLangFileError(const std::string& file_name) {
  ShowFallbackError("Can't handle the language support file " + file_name,
                    std::string(kCantHandleLangFileRu) + file_name);
}

}  // namespace orvel
