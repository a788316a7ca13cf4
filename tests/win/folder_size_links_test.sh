#!/usr/bin/env bash
# Orvel's folder with links that loop back or lead out of it: builds the tree in the test prefix with
# Unix symbolic links (Wine shows them as folders that are reparse points) and runs
# the Windows test that measures it.
#   folder_size_links_test.sh WINE-RUN TEST-PROGRAM
set -euo pipefail
wine_run=$1 tests=$2
source "$(dirname "$wine_run")/wine-env.sh"
orvel_wine_start
root="$WINEPREFIX/drive_c/orvel-links"
rm -rf "$root" "$root-away"
trap 'rm -rf "$root" "$root-away"' EXIT
mkdir -p "$root/sub" "$root-away"
head -c 8192 /dev/zero > "$root-away/away.bin"
ln -s ../../orvel-links-away "$root/sub/away"
head -c 2048 /dev/zero > "$root/a.bin"
head -c 1024 /dev/zero > "$root/sub/b.bin"
ln -s .. "$root/sub/loop"
ln -s . "$root/self"
ORVEL_LINK_FOLDER='C:\orvel-links\' "$wine_run" "$tests" --gtest_filter='FolderSizeKiBLinkTest.*'
