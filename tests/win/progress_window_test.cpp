// The progress window on the Xvfb screen of the test bench (1920 x 1080): its place,
// styles, caption, text line and bar, hiding and showing again, and that nothing starts
// before the first show. One test also saves a screenshot of the window as a PNG.
#include "ui/progress_window.h"

#include <commctrl.h>
#include <tlhelp32.h>

#include <gtest/gtest.h>

#include "base/scoped_handle_win.h"
#include "extract_fixtures.h"
#include "robot/dialog_robot.h"
#include "scratch.h"
#include "ui/progress_layout.h"

namespace orvel {
namespace {

using test::WaitFor;
using test::WindowTextUtf8;

int ThreadsOfThisProcess() {
  ScopedFileHandle snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0));
  THREADENTRY32 entry = {};
  entry.dwSize = sizeof entry;
  int count = 0;
  for (BOOL more = ::Thread32First(snapshot.Get(), &entry); more; more = ::Thread32Next(snapshot.Get(), &entry))
    if (entry.th32OwnerProcessID == ::GetCurrentProcessId()) ++count;
  return count;
}

HWND Child(HWND parent, const char* window_class) { return ::FindWindowExA(parent, nullptr, window_class, nullptr); }

// A child's rectangle in its parent's client area.
RECT PlaceInParent(HWND child) {
  RECT rect = {};
  ::GetWindowRect(child, &rect);
  ::MapWindowPoints(nullptr, ::GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

void ExpectRect(const RECT& rect, const ProgressRect& expected, const char* what) {
  EXPECT_EQ(rect.left, expected.x) << what;
  EXPECT_EQ(rect.top, expected.y) << what;
  EXPECT_EQ(rect.right - rect.left, expected.width) << what;
  EXPECT_EQ(rect.bottom - rect.top, expected.height) << what;
}

bool Shown() { return ProgressWindowCreated() && ::IsWindowVisible(ProgressWindowHandle()); }

// Saves the screen area of `rect` as a PNG with ImageMagick's "import", run as a Unix
// program of the machine that runs Wine. Wine starts it without a process handle, so
// completion is seen in the file itself: a PNG ends with its IEND chunk.
::testing::AssertionResult SaveScreenshot(const RECT& rect, const std::string& png_path) {
  constexpr char kImport[] = "Z:\\usr\\bin\\import";
  if (::GetFileAttributesA(kImport) == INVALID_FILE_ATTRIBUTES)
    return ::testing::AssertionFailure() << "/usr/bin/import is missing (Debian package imagemagick)";
  using UnixNameFn = char*(__cdecl*)(const wchar_t*);
  auto unix_name = reinterpret_cast<UnixNameFn>(
      reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
  if (unix_name == nullptr) return ::testing::AssertionFailure() << "not running under Wine";
  std::wstring wide_path(png_path.begin(), png_path.end());
  char* unix_path = unix_name(wide_path.c_str());
  if (unix_path == nullptr) return ::testing::AssertionFailure() << "no Unix path for " << png_path;
  std::string command = std::string(kImport) + " -window root -crop " + std::to_string(rect.right - rect.left) + "x" +
                        std::to_string(rect.bottom - rect.top) + "+" + std::to_string(rect.left) + "+" +
                        std::to_string(rect.top) + " +repage " + unix_path;
  ::HeapFree(::GetProcessHeap(), 0, unix_path);

  ::DeleteFileA(png_path.c_str());
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  if (!::CreateProcessA(kImport, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
    return ::testing::AssertionFailure() << "cannot start " << command << ": error " << ::GetLastError();
  if (process.hProcess) ::CloseHandle(process.hProcess);
  if (process.hThread) ::CloseHandle(process.hThread);
  static std::string path;
  path = png_path;
  const bool done = WaitFor([] {
    const std::string bytes = test::ReadBytes(path);
    return bytes.size() > 20 && bytes.compare(0, 8, "\x89PNG\r\n\x1a\n") == 0 &&
           bytes.compare(bytes.size() - 8, 4, "IEND") == 0;
  });
  if (!done) return ::testing::AssertionFailure() << "no complete PNG from: " << command;
  return ::testing::AssertionSuccess();
}

std::string ArtifactPath(const char* name) {
  char own[MAX_PATH] = {};
  ::GetModuleFileNameA(nullptr, own, MAX_PATH);
  std::string folder(own);
  folder.erase(folder.rfind('\\') + 1);
  folder += "artifacts\\";
  ::CreateDirectoryA(folder.c_str(), nullptr);
  return folder + name;
}

TEST(ProgressWindowTest, NothingStartsBeforeTheFirstShow) {
  if (ProgressWindowCreated()) GTEST_SKIP() << "an earlier test in this process showed the window";
  const int threads = ThreadsOfThisProcess();
  HideProgressWindow();
  SetProgressCaption("caption");
  SetProgressText("text");
  HideProgressWindow();
  EXPECT_EQ(ThreadsOfThisProcess(), threads);
  EXPECT_FALSE(ProgressWindowCreated());
  EXPECT_EQ(ProgressWindowHandle(), nullptr);
  WNDCLASSEXA registered = {};
  registered.cbSize = sizeof registered;
  EXPECT_FALSE(::GetClassInfoExA(::GetModuleHandleA(nullptr), "PlainWindow", &registered));
  EXPECT_EQ(::FindWindowA("PlainWindow", nullptr), nullptr);
}

TEST(ProgressWindowTest, ShowsACentredTopmostWindowWithCaptionTextAndBar) {
  // Kept for the creation, then overruled by the show's own caption and text.
  SetProgressCaption("A");
  SetProgressText("early");
  ShowProgressWindow("Installing", "vexa.3bs");
  ASSERT_TRUE(WaitFor(Shown));
  HWND window = ProgressWindowHandle();

  ASSERT_EQ(::GetSystemMetrics(SM_CXSCREEN), 1920);
  ASSERT_EQ(::GetSystemMetrics(SM_CYSCREEN), 1080);
  RECT outer = {};
  ::GetWindowRect(window, &outer);
  EXPECT_EQ(outer.left, 756);
  EXPECT_EQ(outer.top, 502);
  EXPECT_EQ(outer.right, 1164);
  EXPECT_EQ(outer.bottom, 578);

  const LONG_PTR ex_style = ::GetWindowLongPtrA(window, GWL_EXSTYLE);
  constexpr LONG_PTR kExStyle = WS_EX_DLGMODALFRAME | WS_EX_TOPMOST | WS_EX_STATICEDGE;
  EXPECT_EQ(ex_style & kExStyle, kExStyle);
  const LONG_PTR style = ::GetWindowLongPtrA(window, GWL_STYLE);
  EXPECT_TRUE(style & WS_DLGFRAME);
  EXPECT_FALSE(style & (WS_CHILD | WS_POPUP | WS_SYSMENU | WS_THICKFRAME));
  EXPECT_EQ(::GetParent(window), nullptr);
  EXPECT_EQ(::GetMenu(window), nullptr);
  EXPECT_EQ(WindowTextUtf8(window), "Installing");

  char class_name[32] = {};
  ::GetClassNameA(window, class_name, sizeof class_name);
  EXPECT_STREQ(class_name, "PlainWindow");
  WNDCLASSEXA registered = {};
  registered.cbSize = sizeof registered;
  ASSERT_TRUE(::GetClassInfoExA(::GetModuleHandleA(nullptr), "PlainWindow", &registered));
  EXPECT_EQ(registered.style, static_cast<UINT>(CS_VREDRAW | CS_HREDRAW | CS_NOCLOSE));
  EXPECT_EQ(registered.cbClsExtra, 4);
  EXPECT_EQ(registered.cbWndExtra, 4);
  EXPECT_EQ(registered.hbrBackground, static_cast<HBRUSH>(::GetStockObject(GRAY_BRUSH)));

  HWND text = Child(window, "STATIC");
  ASSERT_NE(text, nullptr);
  EXPECT_EQ(WindowTextUtf8(text), "vexa.3bs");
  ExpectRect(PlaceInParent(text), kProgressTextRect, "text line");
  EXPECT_TRUE(::IsWindowVisible(text));

  HWND bar = Child(window, PROGRESS_CLASSA);
  ASSERT_NE(bar, nullptr);
  ExpectRect(PlaceInParent(bar), kProgressBarRect, "progress bar");
  EXPECT_TRUE(::GetWindowLongPtrA(bar, GWL_STYLE) & WS_THICKFRAME);
  EXPECT_EQ(::GetDlgCtrlID(bar), 0);
  PBRANGE range = {};
  ::SendMessageA(bar, PBM_GETRANGE, FALSE, reinterpret_cast<LPARAM>(&range));
  EXPECT_EQ(range.iLow, 0);
  EXPECT_EQ(range.iHigh, 100);
  EXPECT_EQ(::SendMessageA(bar, PBM_GETPOS, 0, 0), 0);

  // The picture for a person to look at; the checks above are the verdict on it.
  EXPECT_TRUE(SaveScreenshot(outer, ArtifactPath("progress_window.png")));
}

TEST(ProgressWindowTest, HiddenThenShownAgainWithEmptyTexts) {
  ShowProgressWindow("Installing", "vexa.3bs");
  ASSERT_TRUE(WaitFor(Shown));
  HWND window = ProgressWindowHandle();

  HideProgressWindow();
  EXPECT_FALSE(::IsWindowVisible(window));
  EXPECT_EQ(WindowTextUtf8(window), "Installing");  // hiding changes nothing else

  ShowProgressWindow("", "");
  EXPECT_TRUE(::IsWindowVisible(window));
  EXPECT_EQ(ProgressWindowHandle(), window);  // the same window, no second one
  EXPECT_EQ(WindowTextUtf8(window), "");
  EXPECT_EQ(WindowTextUtf8(Child(window, "STATIC")), "");
  RECT outer = {};
  ::GetWindowRect(window, &outer);
  EXPECT_EQ(outer.left, 756);
  EXPECT_EQ(outer.top, 502);
  EXPECT_EQ(outer.right - outer.left, ProgressWindowWidth);
  EXPECT_EQ(outer.bottom - outer.top, ProgressWindowHeight);
  EXPECT_TRUE(::GetWindowLongPtrA(window, GWL_EXSTYLE) & WS_EX_TOPMOST);

  SetProgressCaption("Caption");
  SetProgressText("Text");
  EXPECT_EQ(WindowTextUtf8(window), "Caption");
  EXPECT_EQ(WindowTextUtf8(Child(window, "STATIC")), "Text");
}

TEST(ProgressWindowTest, CallsWhileTheWindowIsBeingCreatedAreNotLost) {
  if (ProgressWindowCreated()) GTEST_SKIP() << "an earlier test in this process showed the window";
  const int threads = ThreadsOfThisProcess();
  // Straight after the first show, the window thread may still be creating the window.
  ShowProgressWindow("first", "first");
  ShowProgressWindow("second", "second");
  SetProgressCaption("Later caption");
  SetProgressText("later text");
  HideProgressWindow();

  ASSERT_TRUE(ProgressWindowCreated());  // the calls above waited for it
  HWND window = ProgressWindowHandle();
  EXPECT_FALSE(::IsWindowVisible(window));
  EXPECT_EQ(WindowTextUtf8(window), "Later caption");
  EXPECT_EQ(WindowTextUtf8(Child(window, "STATIC")), "later text");
  EXPECT_EQ(ThreadsOfThisProcess(), threads + 1);  // one window thread, one window
  HWND second = ::FindWindowExA(nullptr, window, "PlainWindow", nullptr);
  EXPECT_TRUE(second == nullptr || second == window);
}

}  // namespace
}  // namespace orvel
