#!/usr/bin/env bash
# Runs one Windows program under 64-bit Wine in the project's test prefix (used by
# CTest as the emulator of the win64 build). The prefix, the display and the
# wineserver are started on first use and stay up for the following programs.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"
orvel_wine_start
status=0
orvel_wine "$@" || status=$?
# Only Wine's error messages are shown (wine-env.sh): at least say how it ended.
[ "$status" -eq 0 ] || echo "wine-run.sh: ${1##*/} ended with exit code $status" >&2
exit "$status"
