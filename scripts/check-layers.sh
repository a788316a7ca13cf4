#!/usr/bin/env bash
# Checks that the folders of src/ only include downwards. From the bottom:
#   base            process state, built-in texts, text and file helpers, run log, message boxes
#   sys             Windows services: locations, registry views, OS description, shell, console
#   ui, lang        progress window; language files and texts (neither includes the other)
#   install         package header, extraction, integrity, version comparing
#   app             entry, update run, contact with Orvel
# A file may include its own folder and any folder on a lower level; a folder that is
# not in the table fails too, so that a new one gets its place here first.
#   check-layers.sh [SRC_DIR]      (default: the repository's src/)
set -uo pipefail
src=${1:-$(dirname "$0")/../src}
declare -A level=([base]=0 [sys]=1 [ui]=2 [lang]=2 [install]=3 [app]=4)
failed=0
for file in "$src"/*/*; do
  [ -f "$file" ] || continue
  folder=$(basename "$(dirname "$file")")
  if [ -z "${level[$folder]+set}" ]; then
    echo "FAILED: $folder/ has no level in check-layers.sh"
    failed=1
    continue
  fi
  while IFS= read -r included; do
    if [ "$included" = "$folder" ]; then continue; fi
    if [ -z "${level[$included]+set}" ] || [ "${level[$included]}" -ge "${level[$folder]}" ]; then
      echo "FAILED: $folder/$(basename "$file") includes $included/, which is not below $folder/"
      failed=1
    fi
  done < <(sed -n 's|^[[:space:]]*#[[:space:]]*include[[:space:]]*"\([A-Za-z0-9_]*\)/.*|\1|p' "$file")
done
[ "$failed" -eq 0 ] && echo "layers: every include points down"
exit "$failed"
