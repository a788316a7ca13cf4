// RAII owners for the Win32 handle kinds the installer uses. Each kind names its
// invalid value and its close call once, so no path can leak a handle or close it
// with the wrong function. (The CNG algorithm and hash handles, closed through
// bcrypt.dll's own entry points, are owned the same way: integrity_cng_win.h.)
#pragma once

#include <windows.h>

#include <utility>

namespace orvel {

template <typename Traits>
class ScopedHandle {
 public:
  using Handle = typename Traits::Handle;

  ScopedHandle() = default;
  explicit ScopedHandle(Handle handle) : handle_(handle) {}
  ScopedHandle(const ScopedHandle&) = delete;
  ScopedHandle& operator=(const ScopedHandle&) = delete;
  ScopedHandle(ScopedHandle&& other) noexcept : handle_(other.Release()) {}
  ScopedHandle& operator=(ScopedHandle&& other) noexcept {
    if (this != &other) Reset(other.Release());
    return *this;
  }
  ~ScopedHandle() { Reset(); }

  bool IsValid() const { return Traits::IsValid(handle_); }
  explicit operator bool() const { return IsValid(); }
  Handle Get() const { return handle_; }

  // Closes the owned handle (if any) and takes `handle` instead. Taking the handle
  // it already owns changes nothing. The thread's last error survives the close, so
  // a failure's code reaches whoever reports it.
  void Reset(Handle handle = Traits::Invalid()) {
    if (handle == handle_) return;
    if (Traits::IsValid(handle_)) {
      const DWORD error = ::GetLastError();
      Traits::Close(handle_);
      ::SetLastError(error);
    }
    handle_ = handle;
  }
  // Gives up ownership without closing.
  Handle Release() { return std::exchange(handle_, Traits::Invalid()); }

 private:
  Handle handle_ = Traits::Invalid();
};

// Files from CreateFile: INVALID_HANDLE_VALUE when the open failed.
struct FileHandleTraits {
  using Handle = HANDLE;
  static Handle Invalid() { return INVALID_HANDLE_VALUE; }
  static bool IsValid(Handle h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
  static void Close(Handle h) { ::CloseHandle(h); }
};
using ScopedFileHandle = ScopedHandle<FileHandleTraits>;

// Kernel objects that report failure as NULL: mappings, processes, threads, events.
struct KernelHandleTraits {
  using Handle = HANDLE;
  static Handle Invalid() { return nullptr; }
  static bool IsValid(Handle h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
  static void Close(Handle h) { ::CloseHandle(h); }
};
using ScopedKernelHandle = ScopedHandle<KernelHandleTraits>;

// Directory listings from FindFirstFile.
struct FindHandleTraits {
  using Handle = HANDLE;
  static Handle Invalid() { return INVALID_HANDLE_VALUE; }
  static bool IsValid(Handle h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
  static void Close(Handle h) { ::FindClose(h); }
};
using ScopedFindHandle = ScopedHandle<FindHandleTraits>;

// Registry keys.
struct RegKeyTraits {
  using Handle = HKEY;
  static Handle Invalid() { return nullptr; }
  static bool IsValid(Handle h) { return h != nullptr; }
  static void Close(Handle h) { ::RegCloseKey(h); }
};
using ScopedRegKey = ScopedHandle<RegKeyTraits>;

// Modules loaded with LoadLibrary.
struct LibraryTraits {
  using Handle = HMODULE;
  static Handle Invalid() { return nullptr; }
  static bool IsValid(Handle h) { return h != nullptr; }
  static void Close(Handle h) { ::FreeLibrary(h); }
};
using ScopedLibrary = ScopedHandle<LibraryTraits>;

}  // namespace orvel
