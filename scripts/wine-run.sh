#!/usr/bin/env bash
# Runs one Windows program under 64-bit Wine in the project's test prefix (used by
# CTest as the emulator of the win64 build). The prefix, the display and the
# wineserver are started on first use and stay up for the following programs.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"
orvel_wine_start
exec "$ORVEL_WINE_BIN" "$@"
