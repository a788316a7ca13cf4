// The DLL search: restricted to the system folder where Windows has the call; without
// it the run goes on with the current folder out of the search and full paths.
#include "sys/system_library_win.h"

#include <gtest/gtest.h>

namespace orvel {
namespace {

DWORD given_flags = 0;
BOOL WINAPI FakeSetDefaultDllDirectories(DWORD flags) { return given_flags = flags, TRUE; }

TEST(RestrictDllSearchTest, WithTheCallOnlyTheSystemFolderWithoutItFullPaths) {
  ::SetDllDirectoryA("Z:\\tmp");
  EXPECT_FALSE(RestrictDllSearch(nullptr));
  char text[MAX_PATH] = "unchanged";
  EXPECT_EQ(::GetDllDirectoryA(MAX_PATH, text), 0u);
  const ScopedLibrary library = LoadSystemLibrary("msimg32.dll");
  ASSERT_GT(::GetModuleFileNameA(library.Get(), text, MAX_PATH), 0u);
  EXPECT_STRCASEEQ(text, "C:\\windows\\system32\\msimg32.dll");

  EXPECT_TRUE(RestrictDllSearch(FakeSetDefaultDllDirectories));
  EXPECT_EQ(given_flags, static_cast<DWORD>(LOAD_LIBRARY_SEARCH_SYSTEM32));
}

}  // namespace
}  // namespace orvel
