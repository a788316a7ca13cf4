// The libFuzzer entry of one target; ORVEL_FUZZ_ENTRY names the target's function.
#include <cstdio>
#include <cstdlib>

#include "fuzz_targets.h"

namespace orvel::fuzz {

void CheckFailed(const char* condition, const char* file, int line) {
  std::fprintf(stderr, "%s:%d: check failed: %s\n", file, line, condition);
  std::abort();
}

}  // namespace orvel::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  orvel::fuzz::ORVEL_FUZZ_ENTRY(data, size);
  return 0;
}
