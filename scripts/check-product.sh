#!/usr/bin/env bash
# Checks a built installer: a GUI-subsystem PE of the expected machine, ASLR and DEP
# on, only kernel32, advapi32 and msvcrt imported at start-up (user32, gdi32, shell32
# and ole32 are delay-loaded, version.dll and bcrypt.dll loaded by name, all from the
# system folder at run time), the administrator manifest, its file properties and
# icon, and for the shipped 32-bit build, at most 68 KiB on top of the embedded
# package.
#   check-product.sh EXE PACKAGE OBJDUMP VERSION   (VERSION: e.g. 6.0.0.0)
# No pipes into grep: under pipefail, a grep that stops reading early fails the
# writer with SIGPIPE now and then; the headers are searched as here-strings.
set -uo pipefail
exe=$1 package=$2 objdump=$3 version=$4
failed=0 passed=0
check() {  # check NAME CONDITION-RESULT
  if [ "$2" = 0 ]; then passed=$((passed + 1)); else echo "FAILED: $1"; failed=$((failed + 1)); fi
}
headers=$("$objdump" -p "$exe")

grep -qE 'Subsystem[[:space:]]+00000002' <<<"$headers"; check "GUI subsystem" $?
characteristics=$(awk '/^DllCharacteristics/ {print $2}' <<<"$headers")
(( (16#$characteristics & 0x40) != 0 )); check "dynamic base (ASLR)" $?
(( (16#$characteristics & 0x100) != 0 )); check "NX compatible (DEP)" $?

allowed='^(KERNEL32|ADVAPI32|msvcrt)\.dll$'
dlls=$(awk '/DLL Name:/ {print $3}' <<<"$headers")
bad=$(grep -viE "$allowed" <<<"$dlls" || true)
# (No command substitution in the line below: it would reset $? before check sees it.)
found=$(echo $dlls)
[ -z "$bad" ]; check "imports at start-up only kernel32, advapi32, msvcrt (found: $found)" $?

grep -aq 'level="requireAdministrator"' "$exe"; check "administrator manifest" $?
grep -aq 'Microsoft.Windows.Common-Controls' "$exe"; check "common controls 6 manifest" $?
! grep -aq 'supportedOS' "$exe"; check "no supportedOS entries" $?

# File properties and icon, as Windows reads them from the file.
resources=$(python3 "$(dirname "$0")/pe-resources.py" "$exe")
has() { grep -qxF "$1" <<<"$resources"; }
for property in "CompanyName=Veltro" "ProductName=Orvel" "FileDescription=Orvel update" \
                "InternalName=OrvelUpdate" "OriginalFilename=OrvelUpdate.exe" \
                "FileVersion=$version" "ProductVersion=$version" \
                "FixedFileVersion=$version" "FixedProductVersion=$version"; do
  has "$property"; check "file property $property" $?
done
grep -qE '^LegalCopyright=.+' <<<"$resources"; check "file property LegalCopyright" $?
has "IconGroups=1" && has "IconSizes=16,32,48,256" && has "IconPngSizes=256"
check "one icon of 16, 32, 48 and 256 px, the 256 px one a PNG" $?
icon_bytes=$(sed -n 's/^IconGroupBytes=//p' <<<"$resources")
[ "${icon_bytes:-99999}" -le 4096 ]; check "icon group within 4 KiB (now ${icon_bytes:-no} bytes)" $?

# The size budget is the shipped 32-bit installer's; the 64-bit build only reports.
overhead=$(( $(stat -c %s "$exe") - $(stat -c %s "$package") ))
if grep -q 'file format pei-i386' <<<"$headers"; then
  [ "$overhead" -le 69632 ]; check "at most 68 KiB beside the package (now $overhead bytes)" $?
else
  echo "64-bit build: $overhead bytes beside the package"
fi

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
