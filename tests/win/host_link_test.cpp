// Contact with Orvel: the mapping probe, WM_QUIT to its window, the folder size.
#include "app/host_link.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "base/scoped_handle_win.h"
#include "scratch.h"
#include "sys/folder_lock_name.h"
#include "sys/held_folder_win.h"

namespace orvel {
namespace {

using test::ScratchFolder;
using test::WriteBytes;

TEST(IsHostAppRunningTest, FindsAHeldMappingAndLeavesNoneBehindOtherwise) {
  // Nobody holds it: the probe's own mapping must be gone afterwards, so a second
  // probe again reports "not running".
  EXPECT_FALSE(IsHostAppRunning());
  EXPECT_FALSE(IsHostAppRunning());

  ScopedKernelHandle held(::CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 64, kHostMappingName));
  ASSERT_TRUE(held);
  EXPECT_TRUE(IsHostAppRunning());
  // The probe keeps its handle: the mapping outlives the host's.
  held.Reset();
  EXPECT_TRUE(IsHostAppRunning());
}

TEST(AskHostAppToQuitTest, PostsQuitToTheMainWindowClass) {
  WNDCLASSA window_class = {};
  window_class.lpfnWndProc = ::DefWindowProcA;
  window_class.hInstance = ::GetModuleHandleA(nullptr);
  window_class.lpszClassName = kHostWindowClass;
  ASSERT_NE(::RegisterClassA(&window_class), 0);
  HWND window = ::CreateWindowA(kHostWindowClass, "Orvel", 0, 0, 0, 10, 10, nullptr, nullptr,
                                window_class.hInstance, nullptr);
  ASSERT_NE(window, nullptr);

  AskHostAppToQuit();
  MSG message = {};
  ASSERT_TRUE(::PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(message.message, static_cast<UINT>(WM_QUIT));
  EXPECT_EQ(message.hwnd, window);
  EXPECT_EQ(message.wParam, 0u);
  EXPECT_EQ(message.lParam, 0);

  ::DestroyWindow(window);
  ::UnregisterClassA(kHostWindowClass, window_class.hInstance);
  AskHostAppToQuit();  // no window: nothing posted
  EXPECT_FALSE(::PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
}

// The size of the folder at `path`, held as a run holds Orvel's; -1 when it cannot be opened or walked.
std::int32_t SizeOf(const std::string& path) {
  HeldFolder folder;
  std::int32_t kib = -1;
  return folder.Open(path) && FolderSizeKiB(folder, kib) ? kib : -1;
}

TEST(FolderSizeKiBTest, SumsAllFilesBelowTheFolder) {
  ScratchFolder scratch;
  const std::string top = scratch.Path();
  EXPECT_EQ(SizeOf(top), 0);

  WriteBytes(top + "a.bin", std::string(1023, 'a'));
  EXPECT_EQ(SizeOf(top), 0);
  WriteBytes(top + "b.bin", std::string(1, 'b'));
  EXPECT_EQ(SizeOf(top), 1);

  ::CreateDirectoryA((top + "sub").c_str(), nullptr);
  ::CreateDirectoryA((top + "sub\\deeper").c_str(), nullptr);
  ::CreateDirectoryA((top + "empty").c_str(), nullptr);
  WriteBytes(top + "sub\\c.bin", std::string(2048, 'c'));
  WriteBytes(top + "sub\\deeper\\hidden.bin", std::string(1024, 'h'));
  ::SetFileAttributesA((top + "sub\\deeper\\hidden.bin").c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
  WriteBytes(top + "sub\\deeper\\ro.bin", std::string(512, 'r'));
  ::SetFileAttributesA((top + "sub\\deeper\\ro.bin").c_str(), FILE_ATTRIBUTE_READONLY);
  // The installer's lock counts only below the top folder.
  for (const std::string lock : {"", "sub\\"}) WriteBytes(top + lock + kFolderLockName, std::string(1024, 'l'));
  // 1024 + 2048 + 1024 + 512 + 1024 bytes.
  EXPECT_EQ(SizeOf(top), 5);
  // With or without the trailing backslash.
  EXPECT_EQ(SizeOf(top.substr(0, top.size() - 1)), 5);
  ::SetFileAttributesA((top + "sub\\deeper\\ro.bin").c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST(FolderSizeKiBTest, MissingFolderOrAFileIsMinusOne) {
  ScratchFolder scratch;
  EXPECT_EQ(SizeOf(""), -1);
  EXPECT_EQ(SizeOf(scratch.Path() + "missing\\"), -1);
  WriteBytes(scratch.Path() + "file", "x");
  EXPECT_EQ(SizeOf(scratch.Path() + "file"), -1);  // a file held as a folder cannot be listed
}

}  // namespace
}  // namespace orvel

namespace orvel {
namespace {

// A folder tree with Unix symbolic links that loop back or lead out of it (Wine shows
// them as folders that are reparse points), prepared by folder_size_links_test.sh,
// which names it in ORVEL_LINK_FOLDER. The walk must count each real file once, stay
// in the tree and end.
TEST(FolderSizeKiBLinkTest, LinkedFoldersAreNotWalked) {
  const char* folder = std::getenv("ORVEL_LINK_FOLDER");
  if (folder == nullptr) GTEST_SKIP() << "run by folder_size_links_test.sh";
  const DWORD attributes = ::GetFileAttributesA((std::string(folder) + "sub\\loop").c_str());
  ASSERT_NE(attributes, INVALID_FILE_ATTRIBUTES);
  ASSERT_TRUE(attributes & FILE_ATTRIBUTE_REPARSE_POINT);
  // a.bin (2048 bytes) and sub\b.bin (1024 bytes); the links add nothing.
  EXPECT_EQ(SizeOf(folder), 3);
}

}  // namespace
}  // namespace orvel
