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
# The MEMO dialog (template 102) as the resource compiler wrote it: styles,
# positions, sizes, ids, and the captions and font name in Unicode.
windres=i686-w64-mingw32-windres
memo_expected='102 DIALOG 0, 0, 263, 207
STYLE 0x80c800c0
CAPTION "MEMO"
FONT 9, L"\xff2d\xff33 \x30b4\x30b7\x30c3\x30af"
BEGIN
  EDITTEXT 1004, 7, 7, 249, 175, 0x50a11084
  DEFPUSHBUTTON "OK", 1, 153, 186, 50, 14, 0x50010001
  PUSHBUTTON L"\xff77\xff6c\xff9d\xff7e\xff99", 2, 206, 186, 50, 14, 0x50010000
END'
memo_actual=$($windres -i "$dll" -O rc | sed -n '/^102 DIALOG/,/^END/p')
[ "$memo_expected" = "$memo_actual" ] || fail "dialog 102 differs:
$(diff <(echo "$memo_expected") <(echo "$memo_actual") || true)"

echo "check-dll: $(wc -l <<<"$actual") exports as listed; imports: $(echo $imports); dialog 102 as designed"
