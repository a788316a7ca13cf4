// The installer's message boxes (see message_boxes_win.h).
#include "base/message_boxes_win.h"

#include <windows.h>

#include "base/box_rules.h"
#include "base/builtin_texts.h"
#include "base/decimal_text.h"
#include "base/program_state.h"
#include "base/run_log.h"

namespace orvel {

namespace {
// Errors reach the signed-in user also from a run without a desktop of its own (where
// one can be seen at all, see BoxesShown); questions stay above the topmost progress
// window.
constexpr UINT kErrorStyle = MB_OK | MB_ICONERROR | MB_SERVICE_NOTIFICATION;
constexpr UINT kQuestionStyle = MB_YESNO | MB_ICONQUESTION | MB_TASKMODAL | MB_TOPMOST;

// A window station that cannot be asked counts as visible: its boxes are shown, as
// they always were.
bool StationIsVisible() {
  USEROBJECTFLAGS flags = {};
  DWORD size = 0;
  return !::GetUserObjectInformationA(::GetProcessWindowStation(), UOI_FLAGS, &flags, sizeof flags, &size) ||
         (flags.dwFlags & WSF_VISIBLE) != 0;
}

}  // namespace

// Decided at the first box, not at start-up: asking the window station loads user32,
// which a run without a box never needs. The reason for showing none is logged once.
// A command line not understood leaves the mode in doubt; its caller may be waiting
// unattended.
bool BoxesShown() {
  static int verdict = -1;  // a BoxVerdict once decided
  if (verdict < 0) {
    const ProgramState& state = Program();
    DWORD session = 1;  // a session that cannot be told is taken for a user's
    if (!::ProcessIdToSessionId(::GetCurrentProcessId(), &session)) session = 1;
    verdict = static_cast<int>(DecideBoxes(state.QuietRun || !state.NotUnderstood.empty(), state.SuppressBoxesAsked,
                                           StationIsVisible(), session));
    if (verdict != 0) LogLine({"no message boxes: ", kBoxVerdictReasons[verdict]});
  }
  return verdict == 0;
}

void ShowFallbackError(std::string_view english, std::string_view russian) {
  const ProgramState& state = Program();
  if (state.RussianUi) {
    ShowErrorBox(std::string(russian), state.UpdateTitle, LANG_RUSSIAN);
  } else {
    ShowErrorBox(std::string(english), state.UpdateTitleEn, 0);
  }
}

void ShowRegistryError(WinResult failure) {
  LogLine({"registry error: Win32 error ", DecimalText(failure.Code())});
  ShowFallbackError(kRegistryErrorEn, kRegistryErrorRu);
  ::SetLastError(failure.Code());
}

void ShowErrorBox(const std::string& text, const std::string& caption, std::uint16_t language) {
  // The log first: a box may hold the run for a long time, or never be closed.
  LogLine({"error: ", text});
  if (BoxesShown()) ::MessageBoxExA(nullptr, text.c_str(), caption.c_str(), kErrorStyle, language);
}

bool AskYesNo(const std::string& text, const std::string& caption, std::uint16_t language) {
  // Where no box is shown, a question counts as answered No; the caller logs it.
  return BoxesShown() && ::MessageBoxExA(nullptr, text.c_str(), caption.c_str(), kQuestionStyle, language) == IDYES;
}

}  // namespace orvel
