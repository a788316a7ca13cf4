#!/usr/bin/env bash
# Tells whether this machine's kernel runs 32-bit (i686) programs, as the 32-bit Wine
# that runs the shipped installer needs: assembles a tiny i686 Linux program with
# binutils and runs it.
#   runs-i686.sh [PROGRAM]   PROGRAM: run this one instead (to see how a refusal reads)
# ORVEL_I686_PROBE=PROGRAM does the same for every caller (the builds' configure, the
# Wine set-up, the demo): with a program of a machine this kernel does not run, the
# test bench behaves as on a machine without IA32 emulation.
# Exit 0: it runs. Exit 1: it does not; the reason is printed. Exit 2: could not tell.
set -uo pipefail
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

program=${1:-${ORVEL_I686_PROBE:-}}
if [ -z "$program" ]; then
  program="$work/exit0"
  # The exit system call of the i386 ABI, and nothing else.
  printf '.globl _start\n_start:\n  movl $1, %%eax\n  xorl %%ebx, %%ebx\n  int $0x80\n' > "$work/exit0.s"
  if ! as --32 -o "$work/exit0.o" "$work/exit0.s" 2> "$work/log" ||
     ! ld -m elf_i386 -o "$program" "$work/exit0.o" 2>> "$work/log"; then
    echo "cannot build the i686 probe: $(tr '\n' ' ' < "$work/log")"
    exit 2
  fi
fi

"$program" 2> "$work/log" && exit 0
status=$?
if grep -q 'Exec format error' "$work/log"; then
  echo "this machine's kernel cannot run 32-bit programs (Exec format error; no IA32 emulation)"
  exit 1
fi
echo "the i686 probe ended with exit code $status: $(tr '\n' ' ' < "$work/log")"
exit 2
