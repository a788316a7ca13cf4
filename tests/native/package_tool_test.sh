#!/usr/bin/env bash
# The package build tool: the sample package is deterministic and well-formed, and a
# vendor's package with a short header, another magic or the wrong version stops the build, saying why.
set -uo pipefail
tool=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
passed=0 failed=0
expect() {  # expect NAME WANTED-EXIT COMMAND...
  local name=$1 wanted=$2; shift 2
  "$@" >"$work/out" 2>&1; local got=$?
  if { [ "$wanted" = 0 ] && [ $got = 0 ]; } || { [ "$wanted" != 0 ] && [ $got != 0 ]; }; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1)); echo "FAILED: $name (exit $got)"; cat "$work/out"
  fi
}

expect "sample written" 0 "$tool" sample "$work/a.3bs" 6
expect "sample again" 0 "$tool" sample "$work/b.3bs" 6
[ "$(stat -c %s "$work/a.3bs")" = 1125599 ] && passed=$((passed+1)) || { failed=$((failed+1)); echo "FAILED: sample size"; }
cmp -s "$work/a.3bs" "$work/b.3bs" && passed=$((passed+1)) || { failed=$((failed+1)); echo "FAILED: sample not deterministic"; }
[ "$(head -c 6 "$work/a.3bs" | od -An -tx1 | tr -d ' \n')" = "766578610206" ] && passed=$((passed+1)) || { failed=$((failed+1)); echo "FAILED: sample header"; }

expect "own sample accepted" 0 "$tool" check "$work/a.3bs" 6 "$work/copy.3bs"
cmp -s "$work/a.3bs" "$work/copy.3bs" && passed=$((passed+1)) || { failed=$((failed+1)); echo "FAILED: checked copy differs"; }
expect "wrong version refused" 1 "$tool" check "$work/a.3bs" 7 "$work/x.3bs"
grep -q "carries version 6, but the installer is built for version 7" "$work/out" && passed=$((passed+1)) || { failed=$((failed+1)); echo "FAILED: version message"; cat "$work/out"; }
printf 'vexa\002' > "$work/short.3bs"
expect "short header refused" 1 "$tool" check "$work/short.3bs" 6 "$work/y.3bs"
grep -q "shorter than a package header" "$work/out" && passed=$((passed+1)) || { failed=$((failed+1)); echo "FAILED: short message"; }
[ ! -e "$work/y.3bs" ] && passed=$((passed+1)) || { failed=$((failed+1)); echo "FAILED: refused package was copied"; }
# Any other package holds its version plus 32 in byte 4.
expect "other kind sampled" 0 "$tool" sample "$work/a.pak" 6
[ "$(head -c 5 "$work/a.pak" | od -An -tx1 | tr -d ' \n')" = "7665786126" ] && passed=$((passed+1)) || { failed=$((failed+1)); echo "FAILED: other kind's header"; }
expect "other kind accepted" 0 "$tool" check "$work/a.pak" 6 "$work/copy.pak"
{ printf 'MZ\220\000\002\006'; head -c 99 /dev/zero; } > "$work/exe.3bs"
expect "other magic refused" 1 "$tool" check "$work/exe.3bs" 6 "$work/e.3bs"
grep -q 'not a package: a package begins with the 4 bytes 76 65 78 61 ("vexa"), this file with 4d 5a 90 00 ("MZ..")' "$work/out" && [ ! -e "$work/e.3bs" ] && passed=$((passed+1)) || { failed=$((failed+1)); echo "FAILED: magic message"; }
expect "3bs package under another name refused" 1 "$tool" check "$work/a.3bs" 6 "$work/x.pak"
grep -q 'carries no version, .* byte 4 (counting from 0) is the version plus 32, so it must be 38, and it is 2. Byte 5 is 6 as in a .3bs' "$work/out" && passed=$((passed+1)) || { failed=$((failed+1)); echo "FAILED: other kind's message"; }
expect "missing file refused" 1 "$tool" check "$work/none.3bs" 6 "$work/z.3bs"
expect "bad usage refused" 1 "$tool" sample "$work/c.3bs" nine

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
