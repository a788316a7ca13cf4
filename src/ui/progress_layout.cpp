// Progress window geometry (see progress_layout.h).
#include "ui/progress_layout.h"

namespace orvel {

int CenteredOrigin(int screen_extent, int window_extent) {
  return screen_extent > window_extent ? (screen_extent - window_extent) / 2 : 0;
}

}  // namespace orvel
