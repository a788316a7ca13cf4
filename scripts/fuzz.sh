#!/usr/bin/env bash
# Runs every fuzz target (tests/fuzz) for SECONDS each (default 60) and prints, per
# target, the executions, the executions per second and the corpus size. Exits
# non-zero when a target crashes, leaks, trips a sanitizer or fails one of its checks.
#
#   scripts/fuzz.sh [SECONDS]
#   ORVEL_FUZZ_RUNS=N scripts/fuzz.sh SECONDS   stop each target after N executions
#   ORVEL_FUZZ_TARGETS="version os_ver" ...     run only these targets
#
# Each target starts from its seed corpus (tests/fuzz/corpus/<target>), the inputs
# earlier runs found (build/fuzz/corpus/<target>, kept between runs) and every input
# that ever failed (tests/fuzz/regressions/<target>). A failing input is written to
# that regressions folder: commit it with the fix, and the native tests replay it.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
seconds="${1:-60}"
read -r -a targets <<<"${ORVEL_FUZZ_TARGETS:-lang_file seal_layout version os_ver}"

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz >/dev/null

failed=()
printf '%-12s %12s %10s  %s\n' target executions exec/s corpus
for target in "${targets[@]}"; do
  work="build/fuzz/corpus/$target"
  regressions="tests/fuzz/regressions/$target"
  log="build/fuzz/$target.log"
  mkdir -p "$work" "$regressions"
  options=(-max_total_time="$seconds" -print_final_stats=1 -timeout=25 -report_slow_units=100000
           -artifact_prefix="$regressions/")
  [ -z "${ORVEL_FUZZ_RUNS:-}" ] || options+=(-runs="$ORVEL_FUZZ_RUNS")
  status=0
  "build/fuzz/tests/fuzz/${target}_fuzz" "${options[@]}" "$work" "tests/fuzz/corpus/$target" "$regressions" \
    >"$log" 2>&1 || status=$?
  executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
  rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log")
  corpus=$(grep -o 'corp: [0-9]*/[0-9]*[a-zA-Z]*' "$log" | tail -1 | sed 's/corp: \([0-9]*\)\/\(.*\)/\1 inputs, \2/')
  printf '%-12s %12s %10s  %s\n' "$target" "${executions:-?}" "${rate:-?}" "${corpus:-?}"
  if [ "$status" -ne 0 ]; then
    failed+=("$target")
    echo "--- $target failed (exit code $status); its log, $log, ends:" >&2
    grep -E 'ERROR|SUMMARY|check failed|Test unit written' "$log" >&2 || tail -20 "$log" >&2
  fi
done
if [ ${#failed[@]} -gt 0 ]; then
  echo "fuzzing failed: ${failed[*]}; the failing inputs are in tests/fuzz/regressions/" >&2
  exit 1
fi
