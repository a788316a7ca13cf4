// Test tool: runs the installer's integrity check on each file given and prints the
// result. Exit code 0 when all are intact, else that of the first failure: 1 altered,
// 2 cannot be checked. Used by the script tests of the seal and of signing.
#include <cstdio>
#include <string>

#include "install/integrity_check.h"

int main(int argc, char** argv) {
  int exit_code = 0;
  for (int i = 1; i < argc; ++i) {
    const orvel::IntegrityResult result = orvel::CheckFileIntegrity(argv[i]);
    const char* word = "intact";
    int code = 0;
    if (result == orvel::IntegrityResult::kMismatch) {
      word = "altered";
      code = 1;
    } else if (result == orvel::IntegrityResult::kUnreadable) {
      word = "unreadable";
      code = 2;
    }
    std::printf("%s: %s\n", argv[i], word);
    if (exit_code == 0) exit_code = code;
  }
  return argc > 1 ? exit_code : 2;
}
