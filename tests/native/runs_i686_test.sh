#!/usr/bin/env bash
# The check whether this machine runs 32-bit programs, which decides whether the
# 32-bit build's Windows tests run or are reported skipped: a program the kernel
# refuses ("Exec format error") means skip, with the reason; one that runs means
# run; anything else is not taken for either.
set -uo pipefail
check=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=0

# An ELF file for a machine this kernel does not run (e_machine 20, PowerPC).
cp /bin/true "$work/foreign"
printf '\x14\x00' | dd of="$work/foreign" bs=1 seek=18 conv=notrunc 2>/dev/null
printf '#!/bin/sh\nexit 3\n' > "$work/fails"
chmod +x "$work/fails"

expect() {  # expect NAME WANTED-EXIT WANTED-OUTPUT-PATTERN PROGRAM
  local output status=0
  output=$(bash "$check" "$4") || status=$?
  if [ "$status" != "$2" ] || ! grep -qE -- "$3" <<<"$output"; then
    echo "FAILED: $1: exit $status, output: $output"
    failed=$((failed + 1))
  fi
}
expect "a program that runs" 0 '^$' /bin/true
expect "a program the kernel refuses" 1 "kernel cannot run 32-bit programs \(Exec format error" "$work/foreign"
expect "a program that fails otherwise" 2 "exit code 3" "$work/fails"
# The same refusal for every caller, as the simulation of such a machine asks for it.
ORVEL_I686_PROBE="$work/foreign" bash "$check" >/dev/null; [ $? = 1 ] || { echo "FAILED: ORVEL_I686_PROBE"; failed=$((failed + 1)); }
[ "$failed" -eq 0 ]
