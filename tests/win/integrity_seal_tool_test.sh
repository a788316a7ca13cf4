#!/usr/bin/env bash
# The seal tool at the command line: it refuses files it cannot seal with a message
# and a non-zero exit and leaves them as they were; it seals an unsealed installer
# to the very bytes the build made; "verify" tells a sealed file from an altered one.
#   integrity_seal_tool_test.sh SEAL_TOOL SEALED_INSTALLER FILE_WITHOUT_SLOT
set -euo pipefail
tool=$1 installer=$2 no_slot=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

# FILE must be refused with a message matching PATTERN and stay unchanged.
expect_refusal() {
  local file=$1 pattern=$2
  cp "$file" "$work/before"
  if "$tool" seal "$file" 2> "$work/message"; then fail "sealed $file"; fi
  grep -q -- "$pattern" "$work/message" || fail "message for $file: $(cat "$work/message")"
  cmp -s "$file" "$work/before" || fail "$file was changed"
  [ ! -e "$file.sealing" ] || fail "left $file.sealing behind"
  echo "refused: $(cat "$work/message")"
}

printf 'just some text\n' > "$work/text.exe"
expect_refusal "$work/text.exe" "not a PE file"
cp "$no_slot" "$work/no-slot.exe"
expect_refusal "$work/no-slot.exe" "no seal slot"
if "$tool" seal "$work/missing.exe" 2> "$work/message"; then fail "sealed a missing file"; fi
grep -q "cannot read" "$work/message" || fail "message for a missing file: $(cat "$work/message")"
if "$tool" 2> /dev/null; then fail "ran without arguments"; fi

# Where the slot lies: the start of the section .oseal.
slot=$((16#$(x86_64-w64-mingw32-objdump -h "$installer" | awk '$2 == ".oseal" { print $6 }')))
[ "$slot" -gt 0 ] || fail "no .oseal section in $installer"

# A slot without its marker.
cp "$installer" "$work/no-marker.exe"
printf 'X' | dd of="$work/no-marker.exe" bs=1 seek="$slot" conv=notrunc status=none
expect_refusal "$work/no-marker.exe" "seal slot is malformed"

# The installer with its digest wiped: verify fails, sealing restores the build's bytes.
cp "$installer" "$work/unsealed.exe"
dd if=/dev/zero of="$work/unsealed.exe" bs=1 seek=$((slot + 16)) count=32 conv=notrunc status=none
if "$tool" verify "$work/unsealed.exe" 2> "$work/message"; then fail "an unsealed file verified"; fi
grep -q "does not match its seal" "$work/message" || fail "verify message: $(cat "$work/message")"
"$tool" seal "$work/unsealed.exe" || fail "cannot seal the unsealed copy"
cmp "$installer" "$work/unsealed.exe" || fail "sealing gave other bytes than the build"
"$tool" verify "$work/unsealed.exe" > /dev/null || fail "the sealed copy does not verify"
"$tool" verify "$installer" > /dev/null || fail "the built installer does not verify"
echo "seal tool: all cases passed"
