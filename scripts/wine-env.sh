# Sourced by the scripts that run Windows programs under Wine. Sets up, once per
# build folder, a Wine prefix that tests copy from, an Xvfb display and a persistent
# wineserver; everything lives below $ORVEL_WINE_ROOT (default: build/wine).
#
#   orvel_wine_start [fresh]   start Xvfb and wineserver; "fresh" copies the template
#                              prefix anew into $WINEPREFIX
#   orvel_wine_stop            stop wineserver and Xvfb
#   orvel_wine PROGRAM ARGS    run a Windows program (64-bit Wine)
#   orvel_unix_locale NAME DIR compile a Unix locale (ru_RU.UTF-8) into DIR; Wine
#                              takes the user locale of a program started with
#                              LOCPATH=DIR LANG=NAME from it (no root needed)

: "${ORVEL_WINE_ROOT:=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)/build/wine}"
: "${ORVEL_DISPLAY_NUMBER:=$(( 100 + $(printf '%s' "$ORVEL_WINE_ROOT" | cksum | cut -d' ' -f1) % 800 ))}"
export WINEPREFIX="${WINEPREFIX:-$ORVEL_WINE_ROOT/prefix}"
export WINEARCH=win64
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
export DISPLAY=":$ORVEL_DISPLAY_NUMBER"
ORVEL_WINE_BIN=/usr/lib/wine/wine64
ORVEL_WINESERVER=/usr/lib/wine/wineserver
ORVEL_WINE_TEMPLATE="$ORVEL_WINE_ROOT/template"

orvel_wine() { "$ORVEL_WINE_BIN" "$@"; }

_orvel_wine_make_template() {
  local stage="$ORVEL_WINE_TEMPLATE.tmp"
  rm -rf "$stage"
  mkdir -p "$(dirname "$stage")"
  WINEPREFIX="$stage" "$ORVEL_WINE_BIN" wineboot -i >/dev/null 2>&1
  # No window manager runs on Xvfb: unmanaged windows spare Wine a 2 s wait per box.
  WINEPREFIX="$stage" "$ORVEL_WINE_BIN" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
  WINEPREFIX="$stage" "$ORVEL_WINESERVER" -w
  mv "$stage" "$ORVEL_WINE_TEMPLATE"
}

_orvel_xvfb_start() {
  if ! xdpyinfo -display "$DISPLAY" >/dev/null 2>&1 && [ ! -e "/tmp/.X11-unix/X$ORVEL_DISPLAY_NUMBER" ]; then
    Xvfb "$DISPLAY" -screen 0 1920x1080x24 -nolisten tcp >/dev/null 2>&1 &
    echo $! > "$ORVEL_WINE_ROOT/xvfb.pid"
    for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$ORVEL_DISPLAY_NUMBER" ] && break; sleep 0.1; done
  fi
}

orvel_wine_start() {
  mkdir -p "$ORVEL_WINE_ROOT"
  _orvel_xvfb_start
  [ -d "$ORVEL_WINE_TEMPLATE" ] || _orvel_wine_make_template
  if [ "${1:-}" = fresh ] || [ ! -d "$WINEPREFIX" ]; then
    "$ORVEL_WINESERVER" -k >/dev/null 2>&1 || true
    rm -rf "$WINEPREFIX"
    cp -a "$ORVEL_WINE_TEMPLATE" "$WINEPREFIX"
  fi
  if ! _orvel_wineserver_running; then
    # Keep one wineserver for the whole run instead of one per program.
    "$ORVEL_WINESERVER" -p >/dev/null 2>&1 || true
    # The first program of a session starts Wine's own background processes, which
    # stay and would hold on to that program's output: a test runner reading it would
    # wait for them. Start them here, with no output to hold.
    "$ORVEL_WINE_BIN" cmd.exe /c exit 0 </dev/null >/dev/null 2>&1 || true
  fi
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
