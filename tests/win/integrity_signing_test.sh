#!/usr/bin/env bash
# A vendor's Authenticode signature on the sealed installer: signed with a throwaway
# code-signing certificate by osslsigncode, the copy still passes the installer's own
# check (run under Wine), also with a second, nested signature; a changed byte in the
# signed copy's code or bytes appended after the signature fail.
#   integrity_signing_test.sh WINE_RUN CHECKER SEALED_INSTALLER
set -euo pipefail
wine_run=$1 checker=$2 installer=$3
for tool in osslsigncode openssl; do
  if ! command -v "$tool" > /dev/null; then
    echo "SKIPPED: $tool is missing (apt-get install osslsigncode openssl)"
    exit 77
  fi
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

# The checker's verdict on FILE: 0 intact, 1 altered, 2 cannot be checked.
check() {
  local status=0
  "$wine_run" "$checker" "Z:${1//\//\\}" < /dev/null || status=$?
  return "$status"
}
expect() {
  local file=$1 wanted=$2 status=0
  check "$file" || status=$?
  [ "$status" -eq "$wanted" ] || fail "$(basename "$file"): checker exit $status, expected $wanted"
}

openssl req -x509 -newkey rsa:2048 -nodes -sha256 -days 2 -subj "/CN=Orvel test signer" \
  -addext "keyUsage=critical,digitalSignature" -addext "extendedKeyUsage=codeSigning" \
  -keyout "$work/key.pem" -out "$work/cert.pem" 2> /dev/null
osslsigncode sign -certs "$work/cert.pem" -key "$work/key.pem" -h sha256 -n "Orvel update" \
  -in "$installer" -out "$work/signed.exe" > /dev/null
osslsigncode sign -nest -certs "$work/cert.pem" -key "$work/key.pem" -h sha1 \
  -in "$work/signed.exe" -out "$work/nested.exe" > /dev/null
# The signature itself is sound: the sealing left an image Authenticode can hash.
osslsigncode verify -CAfile "$work/cert.pem" -in "$work/signed.exe" > "$work/verify.txt" 2>&1 ||
  fail "osslsigncode does not verify the signed copy: $(cat "$work/verify.txt")"
cmp -s "$installer" "$work/signed.exe" && fail "signing changed nothing"

expect "$installer" 0
expect "$work/signed.exe" 0
expect "$work/nested.exe" 0

# One byte of code changed in the signed copy.
code=$((16#$(x86_64-w64-mingw32-objdump -h "$work/signed.exe" | awk '$2 == ".text" { print $6 }')))
cp "$work/signed.exe" "$work/changed-code.exe"
printf '\xcc' | dd of="$work/changed-code.exe" bs=1 seek=$((code + 0x200)) conv=notrunc status=none
cmp -s "$work/signed.exe" "$work/changed-code.exe" && fail "the code byte was 0xcc already"
expect "$work/changed-code.exe" 1

# Bytes appended after the signature.
cp "$work/signed.exe" "$work/appended.exe"
printf 'appended' >> "$work/appended.exe"
expect "$work/appended.exe" 1
echo "signing: all cases passed"
