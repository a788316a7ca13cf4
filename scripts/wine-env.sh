# Sourced by the scripts that run Windows programs under Wine. A Wine session is a
# prefix copied from a prepared template, an Xvfb display and a persistent
# wineserver, all below $ORVEL_WINE_ROOT (default: build/wine; the test presets give
# each build a session of its own, so that the win32 and win64 runs never share a
# prefix). ORVEL_WINE_ARCH=win32 makes the session a 32-bit Windows (WINEARCH=win32);
# the default is a 64-bit Windows, which runs both 64-bit and 32-bit programs. The
# templates are made once per machine below $ORVEL_WINE_TEMPLATES (default:
# build/wine) and shared by all sessions.
#
#   orvel_wine_start [fresh [SHELL_READY]]
#                              start Xvfb and wineserver; "fresh" copies the template
#                              prefix anew into $WINEPREFIX; SHELL_READY (the test
#                              tool shell_ready.exe) then waits until the session's
#                              desktop shell answers
#   orvel_wine_stop            stop wineserver and Xvfb
#   orvel_wine PROGRAM ARGS    run a Windows program (either bitness)
#   orvel_unix_locale NAME DIR compile a Unix locale (ru_RU.UTF-8) into DIR; Wine
#                              takes the user locale of a program started with
#                              LOCPATH=DIR LANG=NAME from it (no root needed)

_orvel_source_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
: "${ORVEL_WINE_ROOT:=$_orvel_source_root/build/wine}"
: "${ORVEL_WINE_TEMPLATES:=$_orvel_source_root/build/wine}"
: "${ORVEL_WINE_ARCH:=win64}"
: "${ORVEL_DISPLAY_NUMBER:=$(( 100 + $(printf '%s' "$ORVEL_WINE_ROOT" | cksum | cut -d' ' -f1) % 800 ))}"
# Always the session's own prefix: "fresh" deletes it, so an inherited WINEPREFIX
# (someone's own Wine installation) must never be taken.
export WINEPREFIX="$ORVEL_WINE_ROOT/prefix"
export WINEARCH="$ORVEL_WINE_ARCH"
# Wine's own error messages only: rare, and the one clue when Wine itself fails.
export WINEDEBUG="${WINEDEBUG:--all,err+all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
export DISPLAY=":$ORVEL_DISPLAY_NUMBER"
if [ "$ORVEL_WINE_ARCH" = win32 ]; then
  ORVEL_WINE_BIN=/usr/lib/wine/wine
else
  # Hands 32-bit programs to the 32-bit loader by itself.
  ORVEL_WINE_BIN=/usr/lib/wine/wine64
fi
ORVEL_WINESERVER=/usr/lib/wine/wineserver
ORVEL_WINE_TEMPLATE="$ORVEL_WINE_TEMPLATES/template-$ORVEL_WINE_ARCH"

# Wine maps the shared user data page at a fixed address. With the Unix address space
# randomised, something else sits there now and then, and the program dies before
# any of its code runs ("failed to map the shared user data: c0000018"; twice in six
# runs of the win64 tests here). Without randomisation the layout is the same every
# time. The setting passes to every program that Wine starts from this one.
orvel_wine() { setarch "$(uname -m)" -R "$ORVEL_WINE_BIN" "$@"; }

# A 64-bit prefix made before the 32-bit Wine was installed has an empty
# windows\syswow64, and every 32-bit program fails in it ("could not load
# kernel32.dll"): such a template or prefix is made again. Where the kernel cannot
# run 32-bit programs, wine32 never fills syswow64, so there an empty one is
# normal and the prefix is kept (making it again would cost every test a wineboot).
_orvel_wine_prefix_usable() {
  [ -d "$1" ] || return 1
  [ "$ORVEL_WINE_ARCH" = win32 ] && return 0
  [ -n "$(ls -A "$1/drive_c/windows/syswow64" 2>/dev/null)" ] && return 0
  [ -n "${_orvel_runs_i686:-}" ] ||
    { bash "$_orvel_source_root/scripts/runs-i686.sh" >/dev/null 2>&1; _orvel_runs_i686=$?; }
  [ "$_orvel_runs_i686" -ne 0 ]
}

_orvel_wine_make_template() {
  local stage="$ORVEL_WINE_TEMPLATE.tmp"
  rm -rf "$stage"
  # A session of its own, so that a wineserver of another session is not disturbed.
  WINEPREFIX="$stage" orvel_wine wineboot -i >/dev/null 2>&1
  # No window manager runs on Xvfb: unmanaged windows spare Wine a 2 s wait per box.
  WINEPREFIX="$stage" orvel_wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
  WINEPREFIX="$stage" "$ORVEL_WINESERVER" -w
  rm -rf "$ORVEL_WINE_TEMPLATE"
  mv "$stage" "$ORVEL_WINE_TEMPLATE"
}

# Makes the template unless a usable one is there; sessions that start at the same
# time (the win32 and win64 test runs) wait for each other here.
_orvel_wine_ensure_template() {
  mkdir -p "$ORVEL_WINE_TEMPLATES"
  (
    flock 9
    _orvel_wine_prefix_usable "$ORVEL_WINE_TEMPLATE" || _orvel_wine_make_template
  ) 9>"$ORVEL_WINE_TEMPLATES/.lock-$ORVEL_WINE_ARCH"
}

_orvel_xvfb_start() {
  if ! xdpyinfo -display "$DISPLAY" >/dev/null 2>&1 && [ ! -e "/tmp/.X11-unix/X$ORVEL_DISPLAY_NUMBER" ]; then
    Xvfb "$DISPLAY" -screen 0 1920x1080x24 -nolisten tcp >/dev/null 2>&1 &
    echo $! > "$ORVEL_WINE_ROOT/xvfb.pid"
    for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$ORVEL_DISPLAY_NUMBER" ] && break; sleep 0.1; done
  fi
}

orvel_wine_start() {
  # A missing helper would only show, three session starts later, as a shell that
  # does not answer: say at once what is missing and what builds it.
  if [ -n "${2:-}" ] && [ ! -f "$2" ]; then
    echo "cannot start the Wine session: its helper program $2 is missing;" \
      "the target orvel_shell_ready builds it (cmake --build ${2%/testtools/*} --target orvel_shell_ready)" >&2
    return 1
  fi
  mkdir -p "$ORVEL_WINE_ROOT"
  _orvel_xvfb_start
  _orvel_wine_ensure_template
  if [ "${1:-}" = fresh ] || ! _orvel_wine_prefix_usable "$WINEPREFIX"; then
    "$ORVEL_WINESERVER" -k >/dev/null 2>&1 || true
    rm -rf "$WINEPREFIX"
    cp -a "$ORVEL_WINE_TEMPLATE" "$WINEPREFIX"
  fi
  _orvel_wineserver_running || _orvel_wine_boot
  [ -z "${2:-}" ] || _orvel_wine_shell_ready "$2"
}

# Keeps one wineserver for the whole run instead of one per program, and starts
# Wine's own background processes. The first program of a session starts them
# (wineboot: the service manager and its services), and they stay and would hold on
# to that program's output: a test runner reading it would wait for them. So they are
# started here, with no output to hold. wineboot also starts winemenubuilder (menu
# entries for the Unix desktop, of no use here), which starts the desktop shell at
# once, racing the service manager: the shell that comes first cannot register its
# window list, and the installer cannot start Orvel in that whole session. The shell
# is started later, by the first program that needs it.
_orvel_wine_boot() {
  "$ORVEL_WINESERVER" -p >/dev/null 2>&1 || true
  WINEDLLOVERRIDES="$WINEDLLOVERRIDES;winemenubuilder.exe=d" orvel_wine cmd.exe /c exit 0 </dev/null >/dev/null 2>&1 || true
}

# Runs SHELL_READY (see testtools/shell_ready_win.c), which starts the desktop shell
# once the service manager answers and waits until the shell answers. Should it not,
# the session's Wine is started again, at most three times in all. Its output is not
# kept: the shell it starts would hold on to it.
_orvel_wine_shell_ready() {
  local attempt=1
  until orvel_wine "$1" </dev/null >/dev/null 2>&1; do
    echo "the desktop shell of the Wine session $WINEPREFIX did not answer (attempt $attempt of 3)" >&2
    "$ORVEL_WINESERVER" -k >/dev/null 2>&1 || true
    [ "$attempt" -lt 3 ] || return 1
    attempt=$((attempt + 1))
    _orvel_wine_boot
  done
}

# True when a wineserver serves $WINEPREFIX (its working folder is named after the
# prefix's device and inode).
_orvel_wineserver_running() {
  local device inode
  read -r device inode < <(stat -c '%d %i' "$WINEPREFIX" 2>/dev/null) || return 1
  local folder process
  folder=$(printf 'server-%x-%x' "$device" "$inode")
  for process in $(pgrep wineserver); do
    case "$(readlink "/proc/$process/cwd" 2>/dev/null)" in */"$folder") return 0 ;; esac
  done
  return 1
}

orvel_wine_stop() {
  "$ORVEL_WINESERVER" -k >/dev/null 2>&1 || true
  if [ -f "$ORVEL_WINE_ROOT/xvfb.pid" ]; then
    kill "$(cat "$ORVEL_WINE_ROOT/xvfb.pid")" 2>/dev/null || true
    rm -f "$ORVEL_WINE_ROOT/xvfb.pid"
  fi
}

orvel_unix_locale() {
  local name="$1" dir="$2"
  local language="${name%%.*}" charset="${name#*.}"
  [ "$charset" != "$name" ] || charset=UTF-8
  if [ ! -f "$dir/$name/LC_CTYPE" ]; then
    mkdir -p "$dir"
    # localedef also fails on mere warnings: what counts is the compiled locale.
    localedef -i "$language" -f "$charset" "$dir/$name" >/dev/null 2>&1 || true
    if [ ! -f "$dir/$name/LC_CTYPE" ]; then
      echo "cannot compile the locale $name (is the Debian package 'locales' installed?)" >&2
      return 1
    fi
  fi
}
