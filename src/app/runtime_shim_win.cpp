// The installer is built without C++ exceptions. The C++ runtime's containers still
// call its throwing helpers on impossible sizes or exhausted memory; these versions
// end the process with a distinct exit code instead, and keep the runtime's
// exception and name-demangling machinery out of the executable.
#include <windows.h>

#include <cstddef>
#include <new>

#include "app/exit_code.h"

namespace {
[[noreturn]] void Stop() { ::ExitProcess(static_cast<UINT>(orvel::ExitCode::kOutOfMemory)); }
}  // namespace

namespace std {
[[noreturn]] void __throw_length_error(const char*) { Stop(); }
[[noreturn]] void __throw_logic_error(const char*) { Stop(); }
[[noreturn]] void __throw_out_of_range(const char*) { Stop(); }
[[noreturn]] void __throw_out_of_range_fmt(const char*, ...) { Stop(); }
[[noreturn]] void __throw_invalid_argument(const char*) { Stop(); }
[[noreturn]] void __throw_bad_alloc() { Stop(); }
[[noreturn]] void __throw_bad_array_new_length() { Stop(); }
}  // namespace std

namespace __gnu_cxx {
void __verbose_terminate_handler() { Stop(); }
}  // namespace __gnu_cxx

void* operator new(std::size_t size) {
  void* block = ::HeapAlloc(::GetProcessHeap(), 0, size != 0 ? size : 1);
  if (block == nullptr) Stop();
  return block;
}
void* operator new[](std::size_t size) { return operator new(size); }
void operator delete(void* block) noexcept {
  if (block != nullptr) ::HeapFree(::GetProcessHeap(), 0, block);
}
void operator delete[](void* block) noexcept { operator delete(block); }
void operator delete(void* block, std::size_t) noexcept { operator delete(block); }
void operator delete[](void* block, std::size_t) noexcept { operator delete(block); }

// The runtime's own report of a maths-library error prints to a console, which this
// GUI program does not have, and brings printf along; the installer does no
// floating-point maths. This one keeps the runtime's default handling (0).
extern "C" int __cdecl _matherr(struct _exception*) { return 0; }
