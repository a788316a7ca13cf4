// The one unit that shows message boxes: the built-in bilingual error, an error in a
// language file's words, the registry error, and the Yes/No question. Every box of
// the installer is shown from here, with the styles below. Every error goes to the
// log before its box. Where no box is to be shown (a quiet run with
// /suppressmsgboxes, session 0, a window station nobody sees; see box_rules.h) an
// error is only logged and a question is taken as answered No.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "base/win_result_win.h"

namespace orvel {

// Shows one built-in error message, English or Russian by ProgramState::RussianUi,
// and returns when the user has closed it. The last resort when no language file can
// be used.
void ShowFallbackError(std::string_view english, std::string_view russian);

// The one report of a registry failure; `failure`'s code stays the thread's last
// error for the caller.
void ShowRegistryError(WinResult failure);

// An error box with `text` under `caption`, shown in `language` (a LANGID; 0 for the
// user's default).
void ShowErrorBox(const std::string& text, const std::string& caption, std::uint16_t language);

// Whether this run shows its boxes (see box_rules.h). Decided at the first call; a
// run whose command line was not understood honours /suppressmsgboxes in any mode.
bool BoxesShown();

// A Yes/No question on top of every window; true when the user answered Yes (false
// without asking where no box is shown).
bool AskYesNo(const std::string& text, const std::string& caption, std::uint16_t language);

}  // namespace orvel
