#!/usr/bin/env bash
# Checks the plug-in's folders against their order, lowest first: a file may
# include its own folder and the folders below it, never one above. Also keeps
# platform conditionals inside platform/. Prints each offending line.
set -euo pipefail
cd "$(dirname "$0")/.."

order=(text platform host/api settings mime linkindex resolve/locator shortcut resolve ui host)
rank() {  # the rank of the folder a path belongs to (deepest match)
  local path=$1 i best=-1 len=0
  for i in "${!order[@]}"; do
    case "$path/" in "${order[$i]}/"*)
      if [ ${#order[$i]} -gt "$len" ]; then best=$i; len=${#order[$i]}; fi ;;
    esac
  done
  echo "$best"
}

bad=0
while IFS=: read -r file line text; do
  target=$(sed -E 's/.*#\s*include\s*"([^"]+)".*/\1/' <<<"$text")
  from=$(rank "$(dirname "$file")")
  to=$(rank "$(dirname "$target")")
  [ "$to" -ge 0 ] || continue
  if [ "$to" -gt "$from" ]; then
    echo "$file:$line: includes upward: $target"; bad=1
  fi
done < <(grep -rn --include='*.cpp' --include='*.h' -E '^\s*#\s*include\s*"' "${order[@]}" res 2>/dev/null || true)

if grep -rn --include='*.cpp' --include='*.h' -E '^\s*#\s*if.*_WIN32' \
     text host settings mime shortcut resolve linkindex ui; then
  echo "platform conditionals outside platform/"; bad=1
fi
[ "$bad" -eq 0 ] && echo "layers: every include points downward"
exit "$bad"
