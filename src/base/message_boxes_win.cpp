// The installer's message boxes (see message_boxes_win.h).
#include "base/message_boxes_win.h"

#include <windows.h>

#include "base/builtin_texts.h"
#include "base/program_state.h"

namespace orvel {

namespace {
// Errors reach the user also from a service-started run; questions stay above the
// topmost progress window.
constexpr UINT kErrorStyle = MB_OK | MB_ICONERROR | MB_SERVICE_NOTIFICATION;
constexpr UINT kQuestionStyle = MB_YESNO | MB_ICONQUESTION | MB_TASKMODAL | MB_TOPMOST;
}  // namespace

void ShowFallbackError(std::string_view english, std::string_view russian) {
  const ProgramState& state = Program();
  if (state.RussianUi) {
    ShowErrorBox(std::string(russian), state.UpdateTitle, LANG_RUSSIAN);
  } else {
    ShowErrorBox(std::string(english), state.UpdateTitleEn, 0);
  }
}

void ShowRegistryError(WinResult failure) {
  ShowFallbackError(kRegistryErrorEn, kRegistryErrorRu);
  ::SetLastError(failure.Code());
}

void ShowErrorBox(const std::string& text, const std::string& caption, std::uint16_t language) {
  ::MessageBoxExA(nullptr, text.c_str(), caption.c_str(), kErrorStyle, language);
}

bool AskYesNo(const std::string& text, const std::string& caption, std::uint16_t language) {
  return ::MessageBoxExA(nullptr, text.c_str(), caption.c_str(), kQuestionStyle, language) == IDYES;
}

}  // namespace orvel
