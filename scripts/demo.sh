#!/usr/bin/env bash
# The main job: builds both installers, prepares a demo Orvel installation in a Wine
# prefix of its own, runs an update there with the dialog robot answering Yes, then a
# quiet update ("modest runapp"), and shows what happened: every message box with its
# caption and text, the package file written, the "EstimatedSize" recorded, the exit
# codes and what the stand-in Orvel saw. Exits non-zero when an update did not write
# the embedded package.
#
# The demo runs the shipped i686 installer, in a 64-bit Windows as most users have it;
# on a machine whose kernel cannot run 32-bit programs it runs the x86_64 build and
# says so. ORVEL_DEMO_INSTALLER=path runs another build instead (a vendor's own, say);
# each update is checked against the package that the installer run embeds.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"

section() { printf '\n== %s ==\n' "$*"; }

# Runs a build step quietly; shows its output only when it fails.
quietly() {
  local log
  log=$(mktemp)
  if ! "$@" >"$log" 2>&1; then
    cat "$log"
    rm -f "$log"
    echo "failed: $*" >&2
    exit 1
  fi
  rm -f "$log"
}

section "Setting up the machine"
scripts/setup-machine.sh

section "Building the installers (win64 and win32)"
# Everything the demo runs: the installers, the dialog robot, the stand-in Orvel and
# the helper that starts the Wine session (orvel_shell_ready).
quietly cmake --preset win64
quietly cmake --build --preset win64 --target OrvelUpdate dialog_robot orvel_standin_host orvel_shell_ready
quietly cmake --preset win32
quietly cmake --build --preset win32 --target OrvelUpdate
for exe in build/win64/OrvelUpdate.exe build/win32/OrvelUpdate.exe; do
  kind=""
  command -v file >/dev/null && kind=$(file -b "$exe" | cut -d' ' -f1-4)
  printf '%-30s %9s bytes  %s\n' "$exe" "$(stat -c %s "$exe")" "$kind"
done

section "Choosing the installer"
if [ -n "${ORVEL_DEMO_INSTALLER:-}" ]; then
  installer=$(realpath "$ORVEL_DEMO_INSTALLER")
  echo "Running $installer (ORVEL_DEMO_INSTALLER)."
elif reason=$(scripts/runs-i686.sh); then
  installer="$root/build/win32/OrvelUpdate.exe"
  echo "Running the shipped i686 installer, build/win32/OrvelUpdate.exe, in a 64-bit Windows."
else
  installer="$root/build/win64/OrvelUpdate.exe"
  echo "$reason."
  echo "Running the x86_64 build, build/win64/OrvelUpdate.exe, instead of the shipped i686 one."
fi
# The package the installer run carries: each update must install exactly it.
mkdir -p "$root/build/demo"
package="$root/build/demo/embedded-vexa.3bs"
python3 scripts/pe-resources.py "$installer" 3BS VEXA > "$package"
echo "It embeds a package of $(stat -c %s "$package") bytes, version $(od -An -tu1 -j5 -N1 "$package" | tr -d ' ')."
robot="$root/build/win64/testtools/dialog_robot.exe"
standin="$root/build/win64/testtools/standin_host.exe"
windows_path() { local path="${1//\//\\}"; printf 'Z:%s' "$path"; }

# A Wine session of its own, so that the demo and a test run never share a prefix;
# the prepared template of the tests is shared.
export ORVEL_WINE_ROOT="$root/build/demo/wine"
unset ORVEL_WINE_ARCH
source "$root/scripts/wine-env.sh"
# Set before the start, so that a failed start stops what it started too.
trap orvel_wine_stop EXIT
section "Starting Wine (fresh prefix $WINEPREFIX)"
orvel_wine_start fresh "$root/build/win64/testtools/shell_ready.exe"

uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Orvel'
host_dir="$WINEPREFIX/drive_c/Program Files/Orvel"
host_windows='C:\Program Files\Orvel'
log_dir="$WINEPREFIX/drive_c/orvel-demo"
# The stand-in logs outside the installation, so that its log is not counted in the
# size the installer records.
export ORVEL_STANDIN_LOG='C:\orvel-demo\standin_host.log'

write_older_package() {
  { printf 'vexa\002\005'; head -c 300000 /dev/zero | tr '\0' 'o'; } > "$host_dir/vexa.3bs"
}

section "Demo installation in $host_windows"
mkdir -p "$host_dir/language" "$log_dir"
cp "$standin" "$host_dir/orvel.exe"
if compgen -G "$root/testdata/language/*.lng" >/dev/null; then
  cp "$root"/testdata/language/*.lng "$host_dir/language/"
fi
write_older_package
# The installer has the desktop shell start Orvel, whose environment is not this
# script's: the stand-in finds its log here then.
orvel_wine reg add 'HKCU\Software\Orvel tests\Stand-in' /v Log /d "$ORVEL_STANDIN_LOG" /f >/dev/null
orvel_wine reg add "$uninstall_key" /v DisplayName /d Orvel /f >/dev/null
orvel_wine reg add "$uninstall_key" /v UninstallString /d "\"$host_windows\\unins000.exe\" /SILENT" /f >/dev/null
(cd "$host_dir" && find . -type f -printf '  %P  %s bytes\n' | sort)
echo "  registry: $uninstall_key"
orvel_wine reg query "$uninstall_key" | tr -d '\r' | grep REG_ | sed 's/^ */    /'

folder_kib() { find "$host_dir" -type f -printf '%s\n' | awk '{ total += $1 } END { print int(total / 1024) }'; }
estimated_size() {
  local hex
  hex=$(orvel_wine reg query "$uninstall_key" /v EstimatedSize 2>/dev/null | tr -d '\r' |
    awk '$1 == "EstimatedSize" { print $3 }')
  [ -z "$hex" ] || printf '%d\n' "$hex"
}

failures=0
# Runs the installer under the robot and reports the result. $1: what the run is,
# $2: the robot's answers, the rest: the installer's arguments.
run_update() {
  local title="$1" answers="$2"
  shift 2
  section "$title: OrvelUpdate.exe $*"
  orvel_wine reg delete "$uninstall_key" /v EstimatedSize /f >/dev/null 2>&1 || true
  local code=0
  orvel_wine "$robot" --answers "$answers" -- "$(windows_path "$installer")" "$@" || code=$?
  echo "-- result"
  local installed="$host_dir/vexa.3bs"
  if cmp -s "$installed" "$package"; then
    echo "  vexa.3bs: $(stat -c %s "$installed") bytes, the embedded package byte for byte"
  else
    echo "  vexa.3bs: $(stat -c %s "$installed" 2>/dev/null || echo no) bytes, NOT the embedded package"
    failures=$((failures + 1))
  fi
  local recorded
  recorded=$(estimated_size)
  echo "  EstimatedSize: ${recorded:-not recorded} KiB (the folder holds $(folder_kib) KiB)"
  [ "${recorded:-x}" = "$(folder_kib)" ] || failures=$((failures + 1))
  echo "  exit code: $code"
  [ "$code" = 0 ] || failures=$((failures + 1))
  # Orvel, when the installer started it, logs "ready" once it runs; give it the
  # time it needs (a few seconds at most), no more.
  if [ "$code" = 0 ]; then
    local waited=0
    until grep -q '^ready' "$log_dir/standin_host.log" 2>/dev/null || [ $waited -ge 100 ]; do
      sleep 0.1
      waited=$((waited + 1))
    done
  fi
  echo "  stand-in Orvel log:"
  sed 's/\r$//; s/^/    /' "$log_dir/standin_host.log" 2>/dev/null || echo "    (empty)"
}

run_update "Normal update, answering Yes" yes,yes,yes

# Again from an older package, while the Orvel started above still runs: the quiet
# update asks it to quit, waits for the file, writes, and starts Orvel again.
write_older_package
: > "$log_dir/standin_host.log"
run_update "Quiet update" yes modest runapp

section "Summary"
if [ "$failures" -eq 0 ]; then
  echo "Both updates wrote the embedded package and recorded the folder size."
else
  echo "$failures check(s) failed."
  exit 1
fi
