#!/usr/bin/env bash
# Orvel's folder on a full disk: a tmpfs of 1200 KiB, less than Orvel's files and the
# package together, mounted for the test and shown to the test prefix as a drive
# letter, on which the Windows test installs Orvel and runs an update. Exits 77,
# which CTest reports as skipped, where this machine does not allow mounting.
#   full_disk_test.sh WINE-RUN E2E-TEST-PROGRAM
set -euo pipefail
wine_run=$1 tests=$2
source "$(dirname "$wine_run")/wine-env.sh"
orvel_wine_start
mount_point=$(mktemp -d "${TMPDIR:-/tmp}/orvel-full-disk.XXXXXX")
link=
cleanup() {
  [ -z "$link" ] || rm -f "$link"
  umount "$mount_point" 2>/dev/null || true
  rmdir "$mount_point"
}
trap cleanup EXIT
if ! error=$(mount -t tmpfs -o size=1200k,mode=0755 orvel-full-disk "$mount_point" 2>&1); then
  echo "skipped: this machine does not allow mounting a file system for the test: $error"
  exit 77
fi
for letter in q r s t u v w x y; do
  if [ ! -e "$WINEPREFIX/dosdevices/$letter:" ]; then link="$WINEPREFIX/dosdevices/$letter:"; break; fi
done
[ -n "$link" ] || { echo "no free drive letter in $WINEPREFIX/dosdevices" >&2; exit 1; }
ln -s "$mount_point" "$link"
drive=$(basename "$link")
ORVEL_FULL_DISK="${drive^^}\\" "$wine_run" "$tests" --gtest_filter='UpdateTest.FullDisk*'
