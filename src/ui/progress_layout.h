// The progress window's geometry: its outer size, its place in the middle of the
// screen, and where its text line and progress bar sit in its client area.
#pragma once

namespace orvel {

struct ProgressRect {
  int x;
  int y;
  int width;
  int height;
};

inline constexpr int ProgressWindowWidth = 408;
inline constexpr int ProgressWindowHeight = 76;
inline constexpr ProgressRect kProgressTextRect{2, 2, 399, 20};
inline constexpr ProgressRect kProgressBarRect{2, 24, 400, 20};

// Where a window of `window_extent` starts so that it stands in the middle of a screen
// of `screen_extent` pixels (rounded down); 0 on a screen smaller than the window, so
// its start stays on the screen.
int CenteredOrigin(int screen_extent, int window_extent);

}  // namespace orvel
