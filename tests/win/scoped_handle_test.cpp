// The handle owners' Reset, on a handle kind of the test's own that counts its closes
// and, as many Windows calls do, overwrites the last error when it closes.
#include "base/scoped_handle_win.h"

#include <gtest/gtest.h>

namespace orvel {
namespace {

struct CountingTraits {
  using Handle = int;
  static int closes;
  static Handle Invalid() { return 0; }
  static bool IsValid(Handle h) { return h != 0; }
  static void Close(Handle) {
    ++closes;
    ::SetLastError(ERROR_INVALID_HANDLE);
  }
};
int CountingTraits::closes = 0;

TEST(ScopedHandleTest, ResetIgnoresItsOwnHandleAndKeepsTheLastError) {
  CountingTraits::closes = 0;
  ScopedHandle<CountingTraits> handle(7);
  handle.Reset(7);  // the handle it owns: nothing is closed
  EXPECT_EQ(CountingTraits::closes, 0);
  EXPECT_EQ(handle.Get(), 7);

  ::SetLastError(ERROR_SHARING_VIOLATION);  // a failure that someone will report
  handle.Reset();
  EXPECT_EQ(CountingTraits::closes, 1);
  EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
}

}  // namespace
}  // namespace orvel
