#!/usr/bin/env bash
# Prints the project's figures: the installers' size beside their package, every
# benchmark program (the portable ones from an optimised host build, the "bench"
# preset, built here; the Windows ones from the win64 build under Wine), and the
# update benchmark: the installers' quiet and interactive update beside the floor and
# an NSIS peer (bench/update). Build the win32 and win64 presets first
# (scripts/run-tests.sh does). Exits non-zero when a benchmark fails, after running
# the others.
set -uo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"

for arch in win32 win64; do
  exe=build/$arch/OrvelUpdate.exe package=build/$arch/package/vexa.3bs
  if [ -f "$exe" ] && [ -f "$package" ]; then
    size=$(stat -c %s "$exe") payload=$(stat -c %s "$package")
    printf 'size %-5s installer %8d bytes, package %8d bytes, installer code and data %6d bytes (budget 69632)\n' \
      "$arch" "$size" "$payload" $((size - payload))
  fi
done

cmake --preset bench >/dev/null && cmake --build --preset bench >/dev/null || { echo "bench build failed"; exit 1; }
failed=()
run() {  # run NAME COMMAND...
  local name=$1
  shift
  echo "== $name"
  "$@" || failed+=("$name")
}
for bench in build/bench/bench/*_bench; do
  [ -x "$bench" ] && run "$(basename "$bench")" "$bench"
done
for bench in build/win64/bench/*_bench_win.exe; do
  [ -f "$bench" ] && run "$(basename "$bench")" scripts/wine-run.sh "$bench"
done
run "update benchmark" bench/update/update_bench.sh
if [ ${#failed[@]} -gt 0 ]; then
  echo "FAILED: ${failed[*]}"
  exit 1
fi
