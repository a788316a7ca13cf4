#!/usr/bin/env bash
# Start and end of a Windows test run (the CTest fixtures of the win64 build).
#
#   wine-session.sh fresh [SHELL_READY]
#                                      Xvfb, a wineserver and a fresh copy of the
#                                      prepared prefix (made on first use); with the
#                                      test tool shell_ready.exe, waits until the
#                                      desktop shell answers
#   wine-session.sh stop               stop the wineserver and Xvfb
#   wine-session.sh locale NAME DIR    compile the Unix locale NAME (ru_RU.UTF-8) into
#                                      DIR, for LOCPATH=DIR; kept between runs
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"

case "${1:-}" in
  fresh)
    orvel_wine_start fresh "${2:-}"
    echo "fresh Wine prefix $WINEPREFIX on display $DISPLAY"
    ;;
  stop)
    orvel_wine_stop
    echo "wineserver and Xvfb stopped"
    ;;
  locale)
    name="${2:?locale name, e.g. ru_RU.UTF-8}"
    dir="${3:?target folder}"
    orvel_unix_locale "$name" "$dir"
    echo "locale $name in $dir"
    ;;
  *)
    echo "usage: $0 fresh | stop | locale NAME DIR" >&2
    exit 2
    ;;
esac
