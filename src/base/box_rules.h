// Whether the installer's message boxes are shown. A box that nobody can see or
// answer would hold the run until a deployment tool gives up on it, and with it the
// exit code the tool waits for; such a run shows none, and its log tells what the
// box would have said.
#pragma once

#include <cstdint>

namespace orvel {

enum class BoxVerdict {
  kShown,
  kSwitchedOff,       // a quiet run with /suppressmsgboxes
  kSessionZero,       // services' session: no user ever sees it
  kStationInvisible,  // the process's window station is not the one on the screen
};

// `station_visible`: the process's window station has WSF_VISIBLE; `session`: the
// process's session id. The switch acts in a quiet run only; an interactive run
// shows its boxes wherever they can be seen.
constexpr BoxVerdict DecideBoxes(bool quiet_run, bool suppress_asked, bool station_visible, std::uint32_t session) {
  if (quiet_run && suppress_asked) return BoxVerdict::kSwitchedOff;
  if (session == 0) return BoxVerdict::kSessionZero;
  return station_visible ? BoxVerdict::kShown : BoxVerdict::kStationInvisible;
}

// Why no box is shown, for the log, by verdict ("" for kShown).
inline constexpr const char* kBoxVerdictReasons[] = {
    "",
    "/suppressmsgboxes in a quiet run",
    "the installer runs in session 0, where no user sees a box",
    "the installer's window station is not visible",
};

}  // namespace orvel
