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
# HACKING.md's layer table against the build: each layer's "May use" names
# exactly the layers its lumo_layer() USES ("nothing" none; "... only: ..."
# the names before the colon); "the layers below" and "everything" are held
# by the include order above.
declare -A uses=()
while read -r name list; do
  uses[$name]=$(tr ' ' '\n' <<<"$list" | sed '/^$/d' | sort -u | tr '\n' ' ')
done < <(grep -rhoE --include=CMakeLists.txt 'lumo_layer\([a-z]+ FOLDER [^ ]+( USES [a-z ]+)? SOURCES' \
           "${order[@]}" | sed -E 's/lumo_layer\(([a-z]+) FOLDER [^ ]+( USES ([a-z ]+))? SOURCES/\1 \3/' | sort -u)
while IFS='|' read -r _ layer _ may _; do
  name=$(sed -E 's/^ *`([a-z]+)`.*/\1/' <<<"$layer")
  may=$(sed -E 's/^ *//; s/ *$//' <<<"$may")
  case "$may" in "the layers below" | everything) continue ;; esac
  [ -n "${uses[$name]+set}" ] || { echo "HACKING.md: no layer $name in the build"; bad=1; continue; }
  case "$may" in
    nothing) want= ;;
    *) want=$(sed -E 's/:.*//; s/ only$//' <<<"$may" | tr -d '`' | tr ',' '\n' | sed -E 's/^ *//; s/ *$//' |
                sed '/^$/d' | sort -u | tr '\n' ' ') ;;
  esac
  if [ "$want" != "${uses[$name]}" ]; then
    echo "HACKING.md: layer $name may use \"$may\", its build USES: ${uses[$name]:-nothing}"; bad=1
  fi
done < <(sed -n '/^| Layer (folder)/,/^$/p' HACKING.md | tail -n +3 | sed '/^$/d')

[ "$bad" -eq 0 ] && echo "layers: every include points downward; HACKING.md's table is the build's"
exit "$bad"
