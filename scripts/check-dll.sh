#!/usr/bin/env bash
# Inspects the production lumo.dll: a 32-bit DLL exporting exactly the
# plug-in's sixteen names, undecorated, importing only system DLLs, holding
# its two dialog templates as designed and the version Windows shows in the
# file's properties.
set -euo pipefail
dll=${1:-build/win32/lumo.dll}
objdump=i686-w64-mingw32-objdump
top=$(cd "$(dirname "$0")/.." && pwd)

fail() { echo "check-dll: $*" >&2; exit 1; }
[ -f "$dll" ] || fail "$dll not built"
# The one version, from project() in CMakeLists.txt.
version=$(sed -nE 's/^project\(Lumo VERSION ([0-9]+)\.([0-9]+).*/\1.\2/p' "$top/CMakeLists.txt")
[ -n "$version" ] || fail "no version in CMakeLists.txt"
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
# The two dialogs as the resource compiler wrote them: caption, font, styles,
# positions, sizes, ids and every control's caption. The dump writes Unicode
# texts as L"\xNNNN" escapes; they are compared as UTF-8 text.
windres=i686-w64-mingw32-windres
rc=$($windres -i "$dll" -O rc | perl -CS -pe 's/\\x([0-9a-f]{4})/chr(hex($1))/ge; s/L"/"/g')
check_dialog() {  # id, expected template text
  local actual
  actual=$(sed -n "/^$1 DIALOG/,/^END/p" <<<"$rc")
  [ "$2" = "$actual" ] || fail "dialog $1 differs:
$(diff <(echo "$2") <(echo "$actual") || true)"
}

# The setup dialog. The static texts without an id are 65535.
check_dialog 101 '101 DIALOG 0, 0, 195, 199
STYLE 0x80c800c0
CAPTION "B2 Lumo PLUGIN"
FONT 9, "ＭＳ Ｐゴシック"
BEGIN
  DEFPUSHBUTTON "OK", 1, 97, 179, 46, 17, 0x50010001
  PUSHBUTTON "ｷｬﾝｾﾙ", 2, 146, 179, 46, 17, 0x50010000
  ICON 103, 65535, 3, 0, 20, 20, 0x50000003
  CTEXT "Lumo Plug-In for B2 Ver.'"$version"'", 65535, 25, 0, 167, 21, 0x50001001
  AUTOCHECKBOX "サブジェクトにSCMail用タグを追加する。", 1001, 3, 26, 128, 9, 0x50010003
  EDITTEXT 1004, 139, 23, 42, 12, 0x50810080
  AUTOCHECKBOX "リンクデータとして元メールのTO欄は保持しない。", 1002, 3, 39, 159, 8, 0x50010003
  AUTOCHECKBOX "Wクリックで元メールへ(再編集時は、元メールを編集)", 1003, 3, 51, 166, 8, 0x50010003
  AUTOCHECKBOX "ショートカット作成時のメッセージを抑制する。", 1007, 3, 63, 144, 11, 0x50010003
  AUTOCHECKBOX "ショートカット作成先フォルダを固定にする。", 1008, 3, 78, 145, 9, 0x50010003
  LTEXT "現在、作成先フォルダは設定されていません。", 1009, 11, 89, 181, 10, 0x50001000
  AUTOCHECKBOX "受信時に自動的にショートカットを作成する。", 1011, 3, 100, 145, 9, 0x50010003
  AUTOCHECKBOX "「このフォルダに未読...」にチェックがある物は、作成しない。", 1000, 11, 111, 181, 8, 0x50010003
  LTEXT "現在、作成先フォルダは設定されていません。", 1010, 12, 122, 180, 10, 0x50001000
  LTEXT "<ショートカットキー設定>", 65535, 3, 134, 75, 10, 0x50020000
  LISTBOX 1018, 3, 145, 90, 42, 0x50a10001
  CONTROL "", 1015, "MSCTLS_HOTKEY32", 0x50810000, 98, 158, 94, 14
END'

# The MEMO dialog.
check_dialog 102 '102 DIALOG 0, 0, 263, 207
STYLE 0x80c800c0
CAPTION "MEMO"
FONT 9, "ＭＳ ゴシック"
BEGIN
  EDITTEXT 1004, 7, 7, 249, 175, 0x50a11084
  DEFPUSHBUTTON "OK", 1, 153, 186, 50, 14, 0x50010001
  PUSHBUTTON "ｷｬﾝｾﾙ", 2, 206, 186, 50, 14, 0x50010000
END'

# The version resource: the numbers from project() in CMakeLists.txt, the
# copyright line from LICENSE, the names the plug-in information reports.
copyright=$(grep -m1 '^Copyright' "$top/LICENSE")
versioninfo=$(sed -n '/^1 VERSIONINFO/,/^END/p' <<<"$rc")
[ -n "$versioninfo" ] || fail "no version resource"
check_version() {  # the line as the dump writes it
  grep -qxF -- "$1" <<<"$versioninfo" || fail "version resource lacks: $1
$versioninfo"
}
check_version " FILEVERSION ${version/./, }, 0, 0"
check_version " PRODUCTVERSION ${version/./, }, 0, 0"
check_version " FILETYPE 0x2"
check_version "      VALUE \"ProductName\", \"Lumo Plug-In for B2\""
check_version "      VALUE \"ProductVersion\", \"$version\""
check_version "      VALUE \"FileVersion\", \"$version\""
check_version "      VALUE \"FileDescription\", \"Make Shortcut of mail.\""
check_version "      VALUE \"LegalCopyright\", \"$copyright\""
check_version "      VALUE \"OriginalFilename\", \"lumo.dll\""

echo "check-dll: $(wc -l <<<"$actual") exports as listed; imports: $(echo $imports); dialogs 101 and 102 as designed; version $version"
