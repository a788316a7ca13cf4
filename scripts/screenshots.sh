#!/usr/bin/env bash
# Takes the pictures in docs/screenshots/ that the README shows: every message box a
# user can meet, from the real installer under Wine, and the progress window. The
# dialog robot runs the installer against a demo installation with the stand-in
# Orvel, answers each box and saves it as the screen shows it; ImageMagick turns the
# bitmaps into small PNGs.
#
# It runs the x86_64 build (built here if needed), in a Wine prefix of its own below
# build/screenshots, and needs Xvfb and ImageMagick (scripts/setup-machine.sh).
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
out="$root/docs/screenshots"

log=$(mktemp)
if ! { cmake --preset win64 && cmake --build --preset win64; } >"$log" 2>&1; then
  cat "$log"; exit 1
fi
rm -f "$log"
installer="$root/build/win64/OrvelUpdate.exe"
robot="$root/build/win64/testtools/dialog_robot.exe"
standin="$root/build/win64/testtools/standin_host.exe"
win_tests="$root/build/win64/tests/win/orvel_win_tests.exe"
windows_path() { local path="${1//\//\\}"; printf 'Z:%s' "$path"; }

export ORVEL_WINE_ROOT="$root/build/screenshots/wine"
source "$root/scripts/wine-env.sh"
if [ ! -d "$ORVEL_WINE_ROOT/template" ] && [ -d "$root/build/wine/template" ]; then
  mkdir -p "$ORVEL_WINE_ROOT"
  cp -a "$root/build/wine/template" "$ORVEL_WINE_ROOT/template"
fi
work="$ORVEL_WINE_ROOT/work"
trap 'orvel_wine_stop; rm -rf "$work"' EXIT
orvel_wine_start fresh "$root/build/win64/testtools/shell_ready.exe"
rm -rf "$work"
mkdir -p "$work"

# The demo installation: the stand-in as orvel.exe, the sample language files, an
# uninstall entry, and a package of the version each picture needs.
host_dir="$WINEPREFIX/drive_c/Program Files/Orvel"
mkdir -p "$host_dir/language"
cp "$standin" "$host_dir/orvel.exe"
cp "$root"/testdata/language/*.lng "$host_dir/language/"
orvel_wine reg add 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Orvel' /v UninstallString \
  /d '"C:\Program Files\Orvel\unins000.exe"' /f >/dev/null
export ORVEL_STANDIN_LOG='C:\standin_host.log'
package_of_version() { { printf 'vexa\002'; printf "\\$(printf '%03o' "$1")"; head -c 3000 /dev/zero; } > "$host_dir/vexa.3bs"; }

# run NAME ANSWERS [PROGRAM ARGS...]: the robot runs PROGRAM (the installer when not
# given), answering ANSWERS; box N is saved as $work/NAME-N.bmp. robot_options=...
# before it adds options of the robot (--not-admin).
run() {
  local name=$1 answers=$2
  shift 2
  [ $# -gt 0 ] || set -- "$(windows_path "$installer")"
  orvel_wine "$robot" ${robot_options:-} --answers "$answers" --pictures "$(windows_path "$work/$name")" -- "$@" >/dev/null || true
}
# keep BITMAP PICTURE: stores the bitmap as docs/screenshots/PICTURE.png.
keep() {
  [ -f "$work/$1.bmp" ] || { echo "screenshots.sh: no picture $1 for $2" >&2; exit 1; }
  convert "$work/$1.bmp" -strip -define png:compression-level=9 "$out/$2.png"
  echo "  $2.png  $(stat -c %s "$out/$2.png") bytes"
}

mkdir -p "$out"
echo "Pictures in docs/screenshots:"

package_of_version 5
run normal yes,no
keep normal-1 install-question
keep normal-2 success-question

package_of_version 7
run older no
keep older-1 older-package-question

# A copy of the installer with one byte of its package changed.
cp "$installer" "$work/damaged.exe"
printf 'X' | dd of="$work/damaged.exe" bs=1 seek=$(( $(stat -c %s "$installer") / 2 )) conv=notrunc status=none
run damaged ok "$(windows_path "$work/damaged.exe")"
keep damaged-1 damaged-installer-error

# A log that cannot be opened (its path names a folder): the built-in message, then
# the update goes on; its install question is declined.
run log ok,no "$(windows_path "$installer")" '/log=C:\windows'
keep log-1 log-file-error

# A user who is not an administrator. Wine gives every process an administrator's
# token, so the robot starts the installer with the Administrators group for
# denying only, as in an unelevated token.
robot_options=--not-admin run noright ok
keep noright-1 no-rights-error

# A per-user TheLastRunFolder that is no string: the registry error.
orvel_wine reg add 'HKCU\Software\Veltro\Orvel' /v TheLastRunFolder /t REG_DWORD /d 1 /f >/dev/null
run registry ok
orvel_wine reg delete 'HKCU\Software\Veltro\Orvel' /v TheLastRunFolder /f >/dev/null
keep registry-1 registry-error

# No Orvel in its folder: the built-in message, in English and for a Russian user.
mv "$host_dir/orvel.exe" "$work/orvel.exe"
run english ok
keep english-1 built-in-error-english
orvel_unix_locale ru_RU.UTF-8 "$root/build/screenshots/locales"
LOCPATH="$root/build/screenshots/locales" LANG=ru_RU.UTF-8 LC_ALL= run russian ok
keep russian-1 built-in-error-russian

# The progress window, as its own test shows and saves it.
orvel_wine "$win_tests" --gtest_filter=ProgressWindowTest.ShowsACentredTopmostWindowWithCaptionTextAndBar >/dev/null
cp "$root/build/win64/tests/win/artifacts/progress_window.png" "$work/progress.png"
convert "$work/progress.png" -strip -define png:compression-level=9 "$out/progress-window.png"
echo "  progress-window.png  $(stat -c %s "$out/progress-window.png") bytes"

# Last, as this Orvel stays until Wine stops: it holds its package and does not
# quit. A quiet run waits about 4.4 s for it, then its write fails; an interactive
# run gives up after the same wait.
mv "$work/orvel.exe" "$host_dir/orvel.exe"
package_of_version 5
orvel_wine "$host_dir/orvel.exe" --hold-package --ignore-quit </dev/null >/dev/null 2>&1 &
for _ in $(seq 100); do grep -qa holding "$WINEPREFIX/drive_c/standin_host.log" 2>/dev/null && break; sleep 0.1; done
run failed-write ok "$(windows_path "$installer")" modest
keep failed-write-1 failed-write-error
run locked yes
keep locked-1 locked-file-error

