// Random names from the system's generator (see random_generator.h).
#include "sys/random_generator.h"

#include <windows.h>

#include "base/file_access_win.h"
#include "base/win_result_win.h"

namespace orvel {

WinResult RandomFileName(std::string& name) {
  // RtlGenRandom, found when first needed rather than imported: advapi32 hands it on
  // to another DLL, which is then loaded under the restricted DLL search, never from
  // the installer's own folder.
  using GenRandomFn = BOOLEAN(WINAPI*)(PVOID, ULONG);
  const auto gen_random = EntryPoint<GenRandomFn>(::GetModuleHandleA("advapi32.dll"), "SystemFunction036");
  std::uint32_t values[8];
  if (gen_random == nullptr) return WinResult::Failure(ERROR_PROC_NOT_FOUND);
  if (!gen_random(values, sizeof values)) return WinResult::LastError();
  name = RandomLetters(values);
  return WinResult();
}

}  // namespace orvel
