#!/usr/bin/env bash
# Prints the project's figures: the installers' size beside their package, and every
# benchmark program of the native and win64 builds (the latter under Wine). Build the
# presets first (scripts/run-tests.sh does).
set -uo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"

for arch in win32 win64; do
  exe=build/$arch/OrvelUpdate.exe package=build/$arch/package/vexa.3bs
  if [ -f "$exe" ] && [ -f "$package" ]; then
    size=$(stat -c %s "$exe") payload=$(stat -c %s "$package")
    printf 'size %-5s installer %8d bytes, package %8d bytes, installer code and data %6d bytes (budget 65536)\n' \
      "$arch" "$size" "$payload" $((size - payload))
  fi
done

for bench in build/native/bench/*_bench; do
  [ -x "$bench" ] && { echo "== $(basename "$bench")"; "$bench"; }
done
for bench in build/win64/bench/*_bench_win.exe; do
  [ -f "$bench" ] && { echo "== $(basename "$bench")"; scripts/wine-run.sh "$bench"; }
done
exit 0
