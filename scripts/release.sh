#!/usr/bin/env bash
# A vendor's release in one command: builds the shipped i686 installer and the x86_64
# one twice, in two clean build folders of its own at different paths, and stops when
# the two builds differ by a single byte; runs the product check on both; signs them
# when asked (osslsigncode, SHA-256) and checks that the signature verifies and that
# the installers' own integrity seals still hold; writes the installers, SHA256SUMS
# and RELEASE.txt (what went in) into the output folder.
#
#   release.sh [--package FILE --version N] [--sign CERT.pfx --password-file FILE]
#              [--timestamp URL] [--out DIR]
#
# Without --package it releases the sample package (of --version, default 6). The
# certificate's password is only ever read from its file by osslsigncode and openssl
# themselves: it never appears on a command line or in the environment of a child.
# The output (default dist/<package>-<version>/) is written into a temporary folder
# beside it and renamed at the end, so a failed release leaves no output folder.
# ORVEL_RELEASE_SIMULATE_DIFFERENCE=1 builds the second i686 installer with another
# build number, which shows how a difference between the two builds stops a release.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
started=$SECONDS

die() { echo "release: $*" >&2; exit 1; }
usage() {
  sed -n 's/^#   release.sh/usage: release.sh/p; s/^#              /                  /p' "$0" >&2
  exit 2
}

package="" version="" certificate="" password_file="" timestamp="" out=""
while [ $# -gt 0 ]; do
  case $1 in
    --package|--version|--sign|--password-file|--timestamp|--out)
      [ $# -ge 2 ] || usage
      case $1 in
        --package) package=$2 ;;
        --version) version=$2 ;;
        --sign) certificate=$2 ;;
        --password-file) password_file=$2 ;;
        --timestamp) timestamp=$2 ;;
        --out) out=$2 ;;
      esac
      shift 2 ;;
    *) usage ;;
  esac
done
if [ -n "$package" ] && [ -z "$version" ]; then die "--package needs --version (the version byte the package carries)"; fi
[[ ${version:=6} =~ ^[0-9]+$ ]] && [ "$version" -le 255 ] || die "--version must be a number from 0 to 255, not '$version'"
if [ -n "$certificate" ] && [ -z "$password_file" ]; then die "--sign needs --password-file"; fi
if [ -z "$certificate" ] && [ -n "$password_file$timestamp" ]; then die "--password-file and --timestamp go with --sign"; fi
for file in "$package" "$certificate" "$password_file"; do
  [ -z "$file" ] || [ -r "$file" ] || die "cannot read $file"
done
[ -z "$package" ] || package=$(realpath "$package")

if [ -n "$package" ]; then
  name=$(basename "$package") name=${name%.*}
else
  name=vexa
fi
out=$(realpath -m "${out:-$root/dist/$name-$version}")
[ ! -e "$out" ] || die "$out exists already: remove it or choose another --out"

# What the release needs, installed like the other scripts do; the downloaded packages
# go into a folder of this run, so nothing stays behind in apt's cache.
needed=(cmake g++ make mingw-w64 python3 openssl)
[ -z "$certificate" ] || needed+=(osslsigncode)
missing=()
for p in "${needed[@]}"; do
  [ "$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null)" = "install ok installed" ] || missing+=("$p")
done
work=$(mktemp -d)
staging=""
cleanup() { rm -rf "$work"; [ -z "$staging" ] || rm -rf "$staging"; }
trap cleanup EXIT
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  mkdir -p "$work/apt/partial"
  apt_options=(-o "Dir::Cache::archives=$work/apt" -o Dir::Cache::pkgcache= -o Dir::Cache::srcpkgcache=)
  DEBIAN_FRONTEND=noninteractive apt-get "${apt_options[@]}" update -qq ||
    echo "apt-get update reported errors; installing from the lists it has" >&2
  DEBIAN_FRONTEND=noninteractive apt-get "${apt_options[@]}" install -y -qq --no-install-recommends \
    "${missing[@]}" > /dev/null
fi

# A wrong password or an unreadable .pfx stops the release before anything is built.
if [ -n "$certificate" ]; then
  # The certificates of the .pfx (never its key), and the system's roots, which a
  # vendor's certificate chains to, are what the signature must verify against.
  # (-legacy: a .pfx made with the older ciphers that OpenSSL 3 reads only so.)
  read_pfx() {
    openssl pkcs12 -in "$certificate" -passin "file:$password_file" -nokeys "$@" 2> "$work/openssl.log" ||
      openssl pkcs12 -legacy -in "$certificate" -passin "file:$password_file" -nokeys "$@" 2> "$work/openssl.log" ||
      die "cannot read the certificates of $certificate (wrong password?): $(head -n 3 "$work/openssl.log")"
  }
  read_pfx -out "$work/pfx-certs.pem"
  read_pfx -clcerts -out "$work/signer.pem"
  openssl x509 -in "$work/signer.pem" -noout -subject -serial > "$work/signer.txt"
  cat "$work/pfx-certs.pem" > "$work/trusted.pem"
  [ ! -r /etc/ssl/certs/ca-certificates.crt ] || cat /etc/ssl/certs/ca-certificates.crt >> "$work/trusted.pem"
fi

# Runs a step with its output in a log; shows the log's end only when it fails.
quietly() {
  local log=$work/step.log
  if ! "$@" > "$log" 2>&1; then
    tail -n 40 "$log" >&2
    die "failed: $*"
  fi
}

# Two folders at different paths and depths: a path that leaked into an installer
# would show as a difference.
builds=("$work/one" "$work/build-two/second")
presets=(win32 win64)
declare -A arch=([win32]=i686 [win64]=x86_64)
declare -A shipped_as=([win32]=OrvelUpdate.exe [win64]=OrvelUpdate-x86_64.exe)
package_setting=()
[ -z "$package" ] || package_setting=(-DORVEL_PACKAGE="$package")
build() {  # build FOLDER PRESET [CMAKE-SETTINGS...]
  local folder=$1/$2 preset=$2; shift 2
  quietly cmake --preset "$preset" -S "$root" -B "$folder" -DORVEL_BUILD_TESTS=OFF \
    -DORVEL_PACKAGE_VERSION="$version" "${package_setting[@]}" "$@"
  # The package check comes first, so that its message ends a release early.
  quietly cmake --build "$folder" --target OrvelUpdate_package
  quietly cmake --build "$folder" --target OrvelUpdate --parallel 2
}

# Compares two builds of an installer: prints nothing when they are identical, else
# where they first differ (offset, and the PE section or header field it lies in).
# The PE checksum sums up the whole file, so a difference there also names the first
# one outside it, which says where the cause lies.
compare_builds() {
  python3 - "$1" "$2" << 'EOF'
import struct, sys
a, b = (open(path, "rb").read() for path in sys.argv[1:3])
if a == b:
    sys.exit()
pe = struct.unpack_from("<I", a, 0x3C)[0]
count, optional_size = struct.unpack_from("<H", a, pe + 6)[0], struct.unpack_from("<H", a, pe + 20)[0]
table, checksum = pe + 24 + optional_size, pe + 24 + 64
def place(offset):
    for entry in range(table, table + 40 * count, 40):
        size, start = struct.unpack_from("<II", a, entry + 16)
        if start <= offset < start + size:
            return "section " + a[entry:entry + 8].rstrip(b"\0").decode("ascii", "replace")
    fields = {pe + 8: "the PE file header's TimeDateStamp", checksum: "the PE header's CheckSum"}
    for field, name in fields.items():
        if field <= offset < field + 4:
            return name
    return "the DOS and PE headers" if offset < table + 40 * count else "no section (padding, or past the last)"
def first_difference(start):
    for offset in range(start, min(len(a), len(b))):
        if a[offset] != b[offset]:
            return offset
    return min(len(a), len(b))
def at(offset):
    return "offset %d (0x%x, in %s)" % (offset, offset, place(offset))
offset = first_difference(0)
text = "first at " + at(offset)
if checksum <= offset < checksum + 4:
    text += ", which sums up the file; the first difference outside it at " + at(first_difference(checksum + 4))
print(text + "; sizes %d and %d bytes" % (len(a), len(b)))
EOF
}

echo "Releasing $name version $version: each installer built twice, in $work"
for preset in "${presets[@]}"; do
  for i in 0 1; do
    simulated=()
    if [ "$i" = 1 ] && [ "$preset" = win32 ] && [ "${ORVEL_RELEASE_SIMULATE_DIFFERENCE:-0}" = 1 ]; then
      simulated=(-DORVEL_BUILD_NUMBER=1)
    fi
    echo "  building the ${arch[$preset]} installer ($((i + 1)) of 2)"
    build "${builds[$i]}" "$preset" "${simulated[@]}"
  done
  first=${builds[0]}/$preset/OrvelUpdate.exe second=${builds[1]}/$preset/OrvelUpdate.exe
  difference=$(compare_builds "$first" "$second")
  if [ -n "$difference" ]; then
    die "the two builds of the ${arch[$preset]} installer differ: $difference. Nothing was released."
  fi
  echo "  the two ${arch[$preset]} builds are identical, byte for byte ($(stat -c %s "$first") bytes)"
done

staged=${builds[0]}/win32/package/vexa.3bs
seal_tool=${builds[0]}/win32/host-tools/seal/orvel_seal
package_bytes=$(stat -c %s "$staged")
parent=$(dirname "$out")
mkdir -p "$parent"
staging=$(mktemp -d "$parent/.$(basename "$out").partial.XXXXXX")
for preset in "${presets[@]}"; do
  exe=${builds[0]}/$preset/OrvelUpdate.exe
  echo "Product check of the ${arch[$preset]} installer"
  quietly bash "$root/scripts/check-product.sh" "$exe" "$staged" "${arch[$preset]}-w64-mingw32-objdump" "$version.0.0.0"
  cp "$exe" "$staging/${shipped_as[$preset]}"
done

if [ -n "$certificate" ]; then
  timestamping=()
  [ -z "$timestamp" ] || timestamping=(-ts "$timestamp")
  for preset in "${presets[@]}"; do
    file=$staging/${shipped_as[$preset]}
    echo "Signing ${shipped_as[$preset]}"
    quietly osslsigncode sign -pkcs12 "$certificate" -readpass "$password_file" -h sha256 \
      -n "Orvel update" "${timestamping[@]}" -in "$file" -out "$file.signed"
    mv "$file.signed" "$file"
    quietly osslsigncode verify -CAfile "$work/trusted.pem" -TSA-CAfile "$work/trusted.pem" -in "$file"
    # The signature's signer is this certificate.
    serial=$(sed -n 's/^serial=//p' "$work/signer.txt")
    [ -n "$serial" ] && grep -qiE "Serial : $serial\$" "$work/step.log" ||
      die "${shipped_as[$preset]}: the signature is not by the certificate of $certificate"
  done
fi
for preset in "${presets[@]}"; do
  quietly "$seal_tool" verify "$staging/${shipped_as[$preset]}"
done
if [ -n "$certificate" ]; then
  echo "The signatures verify against $(basename "$certificate"), and the installers' integrity seals still hold"
else
  echo "The installers' integrity seals hold"
fi

(cd "$staging" && sha256sum "${shipped_as[@]}" > SHA256SUMS)
commit=$(git -C "$root" rev-parse HEAD 2>/dev/null || echo "unknown (not a git checkout)")
changes=$(git -C "$root" status --porcelain 2>/dev/null || true)
{
  echo "Orvel update release"
  echo
  echo "package:          $name ($([ -n "$package" ] && echo "$package" || echo "the generated sample package"))"
  echo "package version:  $version"
  echo "package size:     $package_bytes bytes"
  echo "installer version: $version.0.0.0"
  if [ -n "$certificate" ]; then
    echo "signed:           yes, Authenticode SHA-256 by $(sed -n 's/^subject=//p' "$work/signer.txt")$([ -z "$timestamp" ] || echo ", timestamped by $timestamp")"
  else
    echo "signed:           NO, this release is unsigned"
  fi
  echo "reproducible:     each installer built twice in clean folders at different paths, identical byte for byte"
  echo
  for preset in "${presets[@]}"; do
    file=$staging/${shipped_as[$preset]} built=${builds[0]}/$preset/OrvelUpdate.exe
    bytes=$(stat -c %s "$file")
    echo "${shipped_as[$preset]} (${arch[$preset]}$([ "$preset" = win32 ] && echo ", the shipped installer"))"
    echo "  size:           $bytes bytes, $((bytes - package_bytes)) over the package"
    echo "  SHA-256:        $(sha256sum "$file" | cut -d' ' -f1)"
    echo "  SHA-256 as built, before signing: $(sha256sum "$built" | cut -d' ' -f1) ($(stat -c %s "$built") bytes)"
  done
  echo
  echo "source commit:    $commit$([ -n "$changes" ] && echo " with uncommitted changes" || echo ", tree clean")"
  for a in i686 x86_64; do
    echo "compiler $a: $("$a-w64-mingw32-g++-posix" --version | head -n 1)"
  done
  echo "binutils:         $(i686-w64-mingw32-ld --version | head -n 1)"
  echo "host compiler:    $(c++ --version | head -n 1) (build tools)"
  echo "CMake:            $(cmake --version | head -n 1)"
  if [ -n "$certificate" ]; then
    echo "osslsigncode:     $(osslsigncode --version 2>&1 | head -n 1 | sed 's/,.*//')"
  else
    echo "osslsigncode:     not used (unsigned)"
  fi
} > "$staging/RELEASE.txt"
mv -T "$staging" "$out"
staging=""

echo "Released into $out:"
(cd "$out" && sha256sum -c SHA256SUMS | sed 's/^/  /')
[ -n "$certificate" ] || echo "This release is UNSIGNED: sign it before shipping (--sign CERT.pfx --password-file FILE)."
echo "Release took $(( (SECONDS - started) / 60 )) min $(( (SECONDS - started) % 60 )) s."
