#!/usr/bin/env bash
# The vendor's release: the sample package released signed with a throwaway
# certificate (both builds identical, checksums, signature and seal hold, the record
# names the version); a changed package gives another installer; two builds that
# differ stop the release, naming the offset, and leave no output.
#   release_test.sh RELEASE_SCRIPT SEAL_TOOL PACKAGE_TOOL
set -uo pipefail
release=$1 seal=$2 package_tool=$3
for tool in osslsigncode openssl i686-w64-mingw32-g++-posix x86_64-w64-mingw32-g++-posix; do
  command -v "$tool" > /dev/null || { echo "SKIPPED: $tool is missing"; exit 77; }
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=0
fail() { echo "FAILED: $*"; failed=$((failed + 1)); }

printf 'throwaway %s' "$RANDOM" > "$work/password"
openssl req -x509 -newkey rsa:2048 -nodes -sha256 -days 2 -subj "/CN=Orvel release test" \
  -addext "keyUsage=critical,digitalSignature" -addext "extendedKeyUsage=codeSigning" \
  -keyout "$work/key.pem" -out "$work/cert.pem" 2> /dev/null
openssl pkcs12 -export -inkey "$work/key.pem" -in "$work/cert.pem" -passout "file:$work/password" -out "$work/cert.pfx"

if bash "$release" --sign "$work/cert.pfx" --password-file "$work/password" --out "$work/signed" > "$work/signed.log" 2>&1; then
  for arch in i686 x86_64; do
    grep -q "the two $arch builds are identical" "$work/signed.log" || fail "no identical $arch builds reported"
  done
  (cd "$work/signed" && sha256sum -c --quiet SHA256SUMS) || fail "sha256sum -c SHA256SUMS"
  for exe in "$work/signed"/*.exe; do
    osslsigncode verify -CAfile "$work/cert.pem" -in "$exe" > /dev/null 2>&1 || fail "$(basename "$exe"): signature does not verify"
    "$seal" verify "$exe" > /dev/null || fail "$(basename "$exe"): seal broken by signing"
  done
  grep -qE '^package version: +6$' "$work/signed/RELEASE.txt" || fail "RELEASE.txt does not name version 6"
else
  fail "signed release: $(tail -n 20 "$work/signed.log")"
fi

# The sample package with its last byte changed, released unsigned.
"$package_tool" sample "$work/vexa.3bs" 6
printf '\xa5' | dd of="$work/vexa.3bs" bs=1 seek=$(($(stat -c %s "$work/vexa.3bs") - 1)) conv=notrunc status=none
if bash "$release" --package "$work/vexa.3bs" --version 6 --out "$work/changed" > "$work/changed.log" 2>&1; then
  grep -q "UNSIGNED" "$work/changed.log" || fail "an unsigned release does not say so"
  as_built=$(sed -nE '0,/as built/s/.*as built[^:]*: ([0-9a-f]{64}).*/\1/p' "$work/signed/RELEASE.txt")
  changed=$(awk '$2 == "OrvelUpdate.exe" { print $1 }' "$work/changed/SHA256SUMS")
  [ -n "$as_built" ] && [ "$changed" != "$as_built" ] || fail "a changed package gave the same installer ($changed)"
else
  fail "release of a changed package: $(tail -n 20 "$work/changed.log")"
fi

if ORVEL_RELEASE_SIMULATE_DIFFERENCE=1 bash "$release" --out "$work/differs" > "$work/differs.log" 2>&1; then
  fail "builds that differ were released"
fi
grep -qE 'differ: first at offset [0-9]+ .*, in section \.[a-z]+' "$work/differs.log" ||
  fail "no offset and section named: $(tail -n 5 "$work/differs.log")"
[ -z "$(find "$work" -maxdepth 1 -name '*differs*' -type d)" ] || fail "a failed release left an output folder"
[ "$failed" -eq 0 ] && echo "release: all cases passed"
