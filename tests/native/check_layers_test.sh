#!/usr/bin/env bash
# The layer check on small made-up trees: each line is "FILE INCLUDED-FOLDER EXPECTED".
#   check_layers_test.sh CHECK_LAYERS_SCRIPT
set -uo pipefail
check=$1
failed=0
while read -r file included expected; do
  tree=$(mktemp -d)
  mkdir -p "$tree/$(dirname "$file")"
  printf '#include <string>\n#include "%s/x.h"\n' "$included" >"$tree/$file"
  bash "$check" "$tree" >/dev/null
  result=$([ $? -eq 0 ] && echo pass || echo fail)
  rm -rf "$tree"
  if [ "$result" != "$expected" ]; then
    echo "FAILED: $file including $included/ should $expected"
    failed=1
  fi
done <<'CASES'
app/a.cpp base pass
lang/a.cpp sys pass
install/a.h lang pass
base/a.h base pass
sys/a.cpp app fail
base/a.h sys fail
lang/a.cpp ui fail
ui/a.cpp lang fail
install/a.cpp app fail
tools/a.cpp base fail
app/a.cpp nowhere fail
CASES
exit "$failed"
