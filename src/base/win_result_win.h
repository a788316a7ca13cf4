// The outcome of a step made of Windows calls: success, or the Win32 error code of
// the call that failed. A failure carries its code unchanged, past the clean-up
// that follows it, up to the one place that reports it.
#pragma once

#include <windows.h>

namespace orvel {

class [[nodiscard]] WinResult {
 public:
  constexpr WinResult() = default;  // success
  // A failure with `code` (a code of 0 counts as a general failure).
  static constexpr WinResult Failure(DWORD code) { return WinResult(code != ERROR_SUCCESS ? code : ERROR_GEN_FAILURE); }
  // The calling thread's last error, taken right after a call failed.
  static WinResult LastError() { return Failure(::GetLastError()); }

  constexpr bool Succeeded() const { return code_ == ERROR_SUCCESS; }
  constexpr explicit operator bool() const { return Succeeded(); }
  // ERROR_SUCCESS, or the failing call's code.
  constexpr DWORD Code() const { return code_; }

 private:
  constexpr explicit WinResult(DWORD code) : code_(code) {}
  DWORD code_ = ERROR_SUCCESS;
};

}  // namespace orvel
