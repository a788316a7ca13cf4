// The progress window and its thread (see progress_window.h).
//
// Who touches what, without locks:
// - ProgressCaption and ProgressText are written by the main thread only while no
//   window thread is running, and read by the window thread while it creates the
//   window.
// - The window thread stores the position and the three handles, shows the window,
//   and only then sets WindowCreated (release) and signals CreationDone. The main
//   thread reads the handles only after it has seen the flag (acquire).
// - ThreadStarted is the main thread's own. While it is set and the flag is not, a
//   creation is going on, and the main thread waits for CreationDone before it does
//   anything else with the window.
#include "ui/progress_window.h"

#include <commctrl.h>

#include <atomic>
#include <memory>

#include "base/file_access_win.h"
#include "base/scoped_handle_win.h"
#include "sys/system_library_win.h"
#include "ui/progress_layout.h"

namespace orvel {

namespace {

constexpr char kWindowClass[] = "PlainWindow";
// A window is created in milliseconds; a thread that has not managed it by then is
// left alone rather than waited for without end.
constexpr DWORD kCreationWaitMs = 5000;

std::string ProgressCaption;
std::string ProgressText;
int ProgressWindowX = 0;
int ProgressWindowY = 0;
HWND WindowHandle = nullptr;
HWND TextHandle = nullptr;
HWND BarHandle = nullptr;  // kept for completeness: the bar is never moved
std::atomic<bool> WindowCreated{false};
bool ThreadStarted = false;
ScopedKernelHandle CreationDone;  // manual-reset event

LRESULT CALLBACK ProgressWindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_CREATE: {
      HINSTANCE module = ::GetModuleHandleA(nullptr);
      const ProgressRect& text = kProgressTextRect;
      TextHandle = ::CreateWindowExA(0, "STATIC", ProgressText.c_str(), WS_CHILD | WS_VISIBLE, text.x, text.y,
                                     text.width, text.height, window, nullptr, module, nullptr);
      const ProgressRect& bar = kProgressBarRect;
      BarHandle = ::CreateWindowExA(0, PROGRESS_CLASSA, "", WS_CHILD | WS_VISIBLE | WS_THICKFRAME, bar.x, bar.y,
                                    bar.width, bar.height, window, nullptr, module, nullptr);
      return 0;
    }
    case WM_DESTROY:
      ::PostQuitMessage(0);
      return 0;
    default:
      return ::DefWindowProcA(window, message, wparam, lparam);
  }
}

bool RegisterPlainWindowClass(HINSTANCE module) {
  WNDCLASSEXA window_class = {};
  window_class.cbSize = sizeof window_class;
  window_class.style = CS_VREDRAW | CS_HREDRAW | CS_NOCLOSE;
  window_class.lpfnWndProc = ProgressWindowProc;
  window_class.cbClsExtra = 4;
  window_class.cbWndExtra = 4;
  window_class.hInstance = module;
  // No icon: the window has no title bar, and the installer carries none.
  window_class.hCursor = ::LoadCursorA(nullptr, IDC_ARROW);
  window_class.hbrBackground = static_cast<HBRUSH>(::GetStockObject(GRAY_BRUSH));
  window_class.lpszClassName = kWindowClass;
  return ::RegisterClassExA(&window_class) != 0;
}

// Makes the common controls' progress bar class available. comctl32.dll is no
// KnownDLL, so it is loaded from the system folder (or, by the installer's manifest,
// as its side-by-side version 6) rather than imported; it stays loaded for as long as
// the process, since the bar's class lives in it.
void RegisterProgressBarClass() {
  using InitFn = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
  ScopedLibrary controls_library = LoadSystemLibrary("comctl32.dll");
  if (!controls_library) return;
  auto init = EntryPoint<InitFn>(controls_library.Get(), "InitCommonControlsEx");
  const INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_PROGRESS_CLASS};
  if (init != nullptr) init(&controls);
  controls_library.Release();
}

// The window thread. The object belongs to its thread and is freed when it ends;
// nobody waits for the thread, so its handle is closed at once.
class TSetupForm {
 public:
  // False when no thread could be started.
  static bool Start() {
    auto form = std::make_unique<TSetupForm>();
    const ScopedKernelHandle thread(::CreateThread(nullptr, 0, &TSetupForm::ThreadMain, form.get(), 0, nullptr));
    if (!thread) return false;
    form.release();  // now the thread's
    return true;
  }

 private:
  static DWORD WINAPI ThreadMain(void* self) {
    const std::unique_ptr<TSetupForm> form(static_cast<TSetupForm*>(self));
    form->Execute();
    return 0;
  }

  void Execute() {
    ProgressWindowX = CenteredOrigin(::GetSystemMetrics(SM_CXSCREEN), ProgressWindowWidth);
    ProgressWindowY = CenteredOrigin(::GetSystemMetrics(SM_CYSCREEN), ProgressWindowHeight);
    RegisterProgressBarClass();
    HINSTANCE module = ::GetModuleHandleA(nullptr);
    if (!RegisterPlainWindowClass(module)) {
      ::SetEvent(CreationDone.Get());
      return;
    }
    // The children are created inside this call (WM_CREATE).
    WindowHandle = ::CreateWindowExA(WS_EX_DLGMODALFRAME | WS_EX_TOPMOST | WS_EX_STATICEDGE, kWindowClass,
                                     ProgressCaption.c_str(), WS_DLGFRAME, ProgressWindowX, ProgressWindowY,
                                     ProgressWindowWidth, ProgressWindowHeight, nullptr, nullptr, module, nullptr);
    // Shown before the flag is set, so that a hide the main thread sends as soon as
    // it sees the flag is not undone by this first show.
    ::ShowWindow(WindowHandle, SW_SHOWNORMAL);
    WindowCreated.store(true, std::memory_order_release);
    ::SetEvent(CreationDone.Get());

    MSG message;
    while (::GetMessageA(&message, nullptr, 0, 0) > 0) {
      ::TranslateMessage(&message);
      ::DispatchMessageA(&message);
    }
  }
};

// True when the window exists. Waits out a creation that is going on; afterwards
// ThreadStarted is clear unless a thread is still creating the window.
bool WindowReady() {
  if (WindowCreated.load(std::memory_order_acquire)) return true;
  if (!ThreadStarted) return false;
  if (::WaitForSingleObject(CreationDone.Get(), kCreationWaitMs) != WAIT_OBJECT_0) return false;
  if (WindowCreated.load(std::memory_order_acquire)) return true;
  ThreadStarted = false;  // the class could not be registered; that thread has ended
  return false;
}

void StartWindowThread() {
  if (!CreationDone) CreationDone.Reset(::CreateEventA(nullptr, TRUE, FALSE, nullptr));
  if (!CreationDone) return;
  ::ResetEvent(CreationDone.Get());
  ThreadStarted = TSetupForm::Start();
}

void PlaceWindow(UINT show_or_hide) {
  ::SetWindowPos(WindowHandle, HWND_TOPMOST, ProgressWindowX, ProgressWindowY, ProgressWindowWidth,
                 ProgressWindowHeight, show_or_hide);
}

// Shutdown of the module: a window thread must not be left reading the caption and
// the text while they are released at exit. Defined after them, so it runs first.
struct ProgressWindowShutdown {
  ~ProgressWindowShutdown() { WindowReady(); }
} const kShutdown;

}  // namespace

void ShowProgressWindow(const std::string& caption, const std::string& text) {
  if (WindowReady()) {
    SetProgressCaption(caption);
    SetProgressText(text);
    PlaceWindow(SWP_SHOWWINDOW);
    return;
  }
  if (ThreadStarted) return;
  ProgressCaption = caption;
  ProgressText = text;
  StartWindowThread();
}

void HideProgressWindow() {
  if (WindowReady()) PlaceWindow(SWP_HIDEWINDOW);
}

void SetProgressCaption(const std::string& caption) {
  if (WindowReady())
    ::SetWindowTextA(WindowHandle, caption.c_str());
  else if (!ThreadStarted)
    ProgressCaption = caption;
}

void SetProgressText(const std::string& text) {
  if (WindowReady())
    ::SetWindowTextA(TextHandle, text.c_str());
  else if (!ThreadStarted)
    ProgressText = text;
}

bool ProgressWindowCreated() { return WindowCreated.load(std::memory_order_acquire); }

HWND ProgressWindowHandle() { return ProgressWindowCreated() ? WindowHandle : nullptr; }

}  // namespace orvel
