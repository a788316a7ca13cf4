// The few pieces of the C and C++ runtimes the installer uses, made small.
//
// The process starts at OrvelStart, not at the C runtime's entry: the installer takes
// its command line and environment from Windows and uses none of the runtime's
// start-up work (argument and environment copies, stdio, floating-point and
// thread-local set-up, run-time relocation), so that code stays out of the file.
// What is left to do is what the compiler relies on: run the static constructors
// before the main and the registered destructors after it.
//
// The installer is also built without C++ exceptions. The C++ runtime's containers
// still call its throwing helpers on impossible sizes or exhausted memory; these
// versions end the process with a distinct exit code instead, and keep the runtime's
// exception and name-demangling machinery out of the executable.
#include <windows.h>

#include <cstddef>
#include <new>

#include "base/exit_code.h"

int InstallerMain();

namespace {

[[noreturn]] void Stop() { ::ExitProcess(static_cast<UINT>(orvel::ExitCode::kOutOfMemory)); }

using StaticFunction = void (*)();

// The linker's list of static constructors: a count (or -1 when it did not count),
// the constructors, a null pointer. They run from the last to the first.
extern "C" StaticFunction __CTOR_LIST__[];

// Destructors of static objects, registered as their objects are built.
constexpr LONG kMaxExitFunctions = 64;
StaticFunction ExitFunctions[kMaxExitFunctions];
volatile LONG ExitFunctionCount = 0;

void RunStaticConstructors() {
  std::size_t count = 0;
  while (__CTOR_LIST__[count + 1] != nullptr) ++count;
  for (; count > 0; --count) __CTOR_LIST__[count]();
}

void RunExitFunctions() {
  LONG count = ExitFunctionCount;
  if (count > kMaxExitFunctions) count = kMaxExitFunctions;
  while (count > 0) ExitFunctions[--count]();
}

}  // namespace

// Called by the compiler's code for each static object with a destructor. A static
// built on another thread may register at the same time, hence the atomic count.
extern "C" int atexit(StaticFunction function) {
  const LONG slot = ::InterlockedIncrement(&ExitFunctionCount) - 1;
  if (slot >= kMaxExitFunctions) return -1;  // its destructor will not run; Windows frees what it held
  ExitFunctions[slot] = function;
  return 0;
}

extern "C" [[noreturn]] void OrvelStart() {
  RunStaticConstructors();
  const int code = InstallerMain();
  RunExitFunctions();
  ::ExitProcess(static_cast<UINT>(code));
}

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
