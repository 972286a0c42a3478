#!/usr/bin/env bash
# lumo.so exports exactly the names of the export list plus the load
# notification DllMain, with C linkage, and nothing else.
set -euo pipefail
so=$1 def=$2
expected=$( (sed -n '/^EXPORTS/,$p' "$def" | tail -n +2 | awk '{print $1}'; echo DllMain) | sort)
actual=$(nm -D --defined-only "$so" | awk '$2 ~ /^[TW]$/ {print $3}' | sort)
if [ "$expected" != "$actual" ]; then
  echo "exports differ (expected vs actual):"; diff <(echo "$expected") <(echo "$actual"); exit 1
fi
echo "lumo.so exports the $(wc -l <<<"$actual") expected names"
