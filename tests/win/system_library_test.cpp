// The DLL search of the installer: restricted to the system folder where Windows can,
// and where it cannot (no SetDefaultDllDirectories), the run goes on with the current
// folder out of the search and every DLL loaded by its full system path.
#include "sys/system_library_win.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

namespace orvel {
namespace {

DWORD given_flags = 0;
BOOL WINAPI FakeSetDefaultDllDirectories(DWORD flags) {
  given_flags = flags;
  return TRUE;
}

std::string SystemPath(const char* name) {
  char folder[MAX_PATH];
  return std::string(folder, ::GetSystemDirectoryA(folder, MAX_PATH)) + "\\" + name;
}

TEST(RestrictDllSearchTest, WithTheCallOnlyTheSystemFolderWithoutItFullPaths) {
  ::SetDllDirectoryA("Z:\\tmp");
  EXPECT_FALSE(RestrictDllSearch(nullptr));
  char directory[MAX_PATH] = "unchanged";
  EXPECT_EQ(::GetDllDirectoryA(MAX_PATH, directory), 0u);
  EXPECT_STREQ(directory, "");
  const ScopedLibrary library = LoadSystemLibrary("msimg32.dll");
  ASSERT_TRUE(library);
  char loaded[MAX_PATH];
  ASSERT_GT(::GetModuleFileNameA(library.Get(), loaded, MAX_PATH), 0u);
  EXPECT_EQ(::lstrcmpiA(loaded, SystemPath("msimg32.dll").c_str()), 0) << loaded;

  EXPECT_TRUE(RestrictDllSearch(FakeSetDefaultDllDirectories));
  EXPECT_EQ(given_flags, static_cast<DWORD>(LOAD_LIBRARY_SEARCH_SYSTEM32));
}

}  // namespace
}  // namespace orvel
