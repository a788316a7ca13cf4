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

cmake --preset native
cmake --build --preset native
ctest --preset native
scripts/fuzz.sh 15

cmake --preset win32
cmake --build --preset win32
ctest --preset win32

cmake --preset win64
cmake --build --preset win64
ctest --preset win64
