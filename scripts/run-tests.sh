#!/usr/bin/env bash
# Builds everything and runs every test: the native rules under sanitizers, the fuzz
# targets for 15 s each, then for the shipped i686 installer and the x86_64 one each:
# the product checks and the
# Windows unit and end-to-end tests under Wine (the i686 ones also in a 32-bit
# Windows; reported skipped where the kernel cannot run 32-bit programs).
#
# Every build's tests run, also after an earlier build or test failed, and one summary
# at the end gives each build's passed and failed counts and time, and the names of
# the failed tests. Exits non-zero when anything failed.
set -uo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
scripts/setup-machine.sh || exit 1

summary=() failed_tests=() status=0

# Configures, builds and tests one preset; records the outcome for the summary.
build_and_test() {
  local preset=$1 start=$SECONDS log
  if ! { cmake --preset "$preset" && cmake --build --preset "$preset"; }; then
    summary+=("$preset: the build failed, no tests ran ($((SECONDS - start)) s)")
    status=1
    return
  fi
  start=$SECONDS
  log=$(mktemp)
  ctest --preset "$preset" 2>&1 | tee "$log"
  local code=${PIPESTATUS[0]}
  # ctest ends with "N% tests passed, F tests failed out of T", then the failed ones
  # as "<tab>  12 - name (Failed)".
  local counts total=0 failed=0 skipped
  counts=$(sed -nE 's/.* tests passed, ([0-9]+) tests? failed out of ([0-9]+).*/\1 \2/p' "$log")
  [ -z "$counts" ] || read -r failed total <<<"$counts"
  skipped=$(sed -n '/The following tests did not run:/,/^$/p' "$log" | grep -cE '^[[:space:]]*[0-9]+ - ')
  local line="$preset: $((total - failed)) passed ($skipped of them skipped), $failed failed, $((SECONDS - start)) s"
  [ "$code" = 0 ] || { [ "$failed" -gt 0 ] || line+=" (ctest failed: exit code $code)"; status=1; }
  summary+=("$line")
  while read -r name; do
    failed_tests+=("$preset: $name")
  done < <(sed -n '/The following tests FAILED:/,/^$/p' "$log" | sed -nE 's/^[[:space:]]*[0-9]+ - (.*) \([^)]*\)$/\1/p')
  rm -f "$log"
}

build_and_test native
fuzz_start=$SECONDS
if scripts/fuzz.sh 15; then
  summary+=("fuzz: every target passed, $((SECONDS - fuzz_start)) s")
else
  summary+=("fuzz: a target failed (see above), $((SECONDS - fuzz_start)) s")
  status=1
fi
build_and_test win32
build_and_test win64

printf '\n== Summary ==\n'
printf '%s\n' "${summary[@]}"
if [ ${#failed_tests[@]} -gt 0 ]; then
  echo "Failed tests:"
  printf '  %s\n' "${failed_tests[@]}"
fi
[ "$status" = 0 ] && echo "Everything passed." || echo "Something failed."
exit "$status"
