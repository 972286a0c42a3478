#!/usr/bin/env bash
# Inspects the production lumo.dll: a 32-bit DLL exporting exactly the
# plug-in's sixteen names, undecorated, and importing only system DLLs.
set -euo pipefail
dll=${1:-build/win32/lumo.dll}
objdump=i686-w64-mingw32-objdump
top=$(cd "$(dirname "$0")/.." && pwd)

fail() { echo "check-dll: $*" >&2; exit 1; }
[ -f "$dll" ] || fail "$dll not built"
dump=$($objdump -p "$dll")

grep -q 'file format pei-i386' <<<"$($objdump -f "$dll")" || fail "not a 32-bit PE file"

expected=$(sed -n '/^EXPORTS/,$p' "$top/res/lumo.def" | tail -n +2 | awk '{print $1}' | sort)
actual=$(awk '/\[Ordinal\/Name Pointer\] Table/{t=1;next} t&&/^\t\[/{print $NF} t&&/^$/{t=0}' <<<"$dump" | sort)
[ "$expected" = "$actual" ] || fail "exports differ from res/lumo.def:
$(diff <(echo "$expected") <(echo "$actual") || true)"

imports=$(awk '/DLL Name:/{print tolower($3)}' <<<"$dump" | sort -u)
for dllname in $imports; do
  case "$dllname" in
    kernel32.dll|user32.dll|comctl32.dll|gdi32.dll|msvcrt.dll|api-ms-win-crt-*.dll|ucrtbase.dll) ;;
    *) fail "imports a non-system DLL: $dllname" ;;
  esac
done
echo "check-dll: $(wc -l <<<"$actual") exports as listed; imports: $(echo $imports)"
