// A small always-on-top window in the middle of the screen with a caption, one line of
// text and a progress bar that never moves: it asks the user to wait while files are
// installed. Its window and message loop run on a thread of their own (TSetupForm),
// started by the first show; the main thread drives it with the four calls below and
// goes on working meanwhile.
//
// All four calls belong to the main thread. The first show returns at once, while the
// window thread creates the window; a call that comes while that creation is still
// going on waits for it (a matter of milliseconds) and then acts on the new window, so
// nothing the main thread asks for is lost or races with the creation, and no second
// window is ever made. The window is never destroyed; it ends with the process.
#pragma once

#include <windows.h>

#include <string>

namespace orvel {

// Shows the window with `caption` and `text`, creating it (and its thread) first when
// there is none.
void ShowProgressWindow(const std::string& caption, const std::string& text);
// Hides the window; no effect while there is none.
void HideProgressWindow();
// Before the window exists, the caption and the text line are kept for its creation.
void SetProgressCaption(const std::string& caption);
void SetProgressText(const std::string& text);

// True once the window thread has created (and first shown) the window; never false
// again. Safe to ask from any thread: the handles are all stored before it is set.
bool ProgressWindowCreated();
// The top-level window once ProgressWindowCreated(); null before.
HWND ProgressWindowHandle();

}  // namespace orvel
