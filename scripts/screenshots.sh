#!/usr/bin/env bash
# Pictures of the plug-in's two dialogs as Wine draws them with a Japanese
# font: docs/images/settings-dialog.png and docs/images/memo-dialog.png.
# Builds lumo.dll and lumo-host.exe (preset win64), prepares a Wine prefix of
# its own in build/win64/shots, runs the scripts of scripts/shots/ (each opens
# a dialog, captures it with `dialog capture` and closes it) and turns the
# BMP files into PNG.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
scripts/deps.sh shots

# The plug-in's ANSI calls read its captions as code page 932 only under a
# Japanese locale.
if ! locale -a 2>/dev/null | grep -qix 'ja_JP\.utf-\?8'; then
  if [ "$(id -u)" -ne 0 ]; then
    echo "The locale ja_JP.UTF-8 is missing: run localedef -i ja_JP -f UTF-8 ja_JP.UTF-8 as root." >&2
    exit 1
  fi
  echo "Generating the locale ja_JP.UTF-8"
  localedef -i ja_JP -c -f UTF-8 ja_JP.UTF-8
fi

cmake --preset win64 >/dev/null
cmake --build --preset win64 --target lumo lumo-host

wine=/usr/lib/wine/wine64
shots=$root/build/win64/shots
export WINEPREFIX=$shots/wineprefix WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml=
# Every Wine run, the prefix's creation too (it picks the system fonts of
# its locale, such as the caption font), is Japanese.
japanese=(env LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8)
rm -rf "$shots" && mkdir -p "$shots"

# The prefix as the tests prepare theirs (unmanaged windows, see
# cmake/WinePrefix.cmake), then the fonts. Debian's Wine does not look in
# the folder where its own fonts are installed, so Marlett (the caption
# buttons) and Tahoma are copied into the prefix; the dialogs' fonts
# "ＭＳ Ｐゴシック" and "ＭＳ ゴシック", and the other Japanese system fonts,
# are replaced by the IPA fonts.
"${japanese[@]}" cmake -DWINE=$wine -P cmake/WinePrefix.cmake >/dev/null
cp /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/"
{
  printf '\xff\xfe'
  sed 's/$/\r/' <<'EOF' | iconv -f UTF-8 -t UTF-16LE
Windows Registry Editor Version 5.00

[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]
"ＭＳ Ｐゴシック"="IPAPGothic"
"ＭＳ ゴシック"="IPAGothic"
"MS PGothic"="IPAPGothic"
"MS Gothic"="IPAGothic"
"MS UI Gothic"="IPAPGothic"
EOF
} >"$shots/fonts.reg"
"${japanese[@]}" $wine regedit /S "Z:${shots//\//\\}\\fonts.reg"
"${wine%/*}/wineserver" -w

for name in settings-dialog memo-dialog; do
  run=$shots/$name
  mkdir -p "$run"
  cp build/win64/lumo.dll "$run/"
  (cd "$run" && "${japanese[@]}" xvfb-run -a $wine "$root/build/win64/host-sim/lumo-host.exe" --store store \
     "$root/scripts/shots/$name.lhs" >output.txt 2>&1) || {
    echo "lumo-host failed on scripts/shots/$name.lhs:" >&2
    cat "$run/output.txt" >&2
    exit 1
  }
  mkdir -p docs/images
  python3 scripts/bmp-to-png.py "$run/$name.bmp" "docs/images/$name.png"
  echo "docs/images/$name.png"
done
