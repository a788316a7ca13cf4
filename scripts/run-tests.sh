#!/usr/bin/env bash
# Builds everything and runs every test: the native rules under sanitizers, the fuzz
# targets for 15 s each, then for the shipped i686 installer and the x86_64 one each:
# the product checks and the
# Windows unit and end-to-end tests under Wine (the i686 ones also in a 32-bit
# Windows; reported skipped where the kernel cannot run 32-bit programs). Exits
# non-zero when anything fails.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
scripts/setup-machine.sh

# How long each build's tests took, printed at the end (also when one fails), so
# that a slow machine or a slow Wine set-up shows at a glance.
timings=()
timed_tests() {
  local preset=$1 start=$SECONDS
  ctest --preset "$preset" && timings+=("$preset tests: $((SECONDS - start)) s") ||
    { timings+=("$preset tests: $((SECONDS - start)) s, failed"); return 1; }
}
trap '[ ${#timings[@]} -eq 0 ] || printf "%s\n" "Test time by build:" "${timings[@]/#/  }"' EXIT

cmake --preset native
cmake --build --preset native
timed_tests native
scripts/fuzz.sh 15

cmake --preset win32
cmake --build --preset win32
timed_tests win32

cmake --preset win64
cmake --build --preset win64
timed_tests win64
