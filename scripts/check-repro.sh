#!/usr/bin/env bash
# Two builds of the release package from the same commit give the same bytes:
# the win32 build's lumo.dll and lumo-<version>-win32.zip against a second
# build of just the package, configured in another folder (so no build path
# may leak into the DLL) and compiled afresh (a compiler cache would hand the
# second build the first one's objects).
set -euo pipefail
cd "$(dirname "$0")/.."
first=build/win32
second=build/win32-repro

fail() { echo "check-repro: $*" >&2; exit 1; }
cmake --build --preset win32 --target zip >/dev/null
rm -rf "$second"
cmake -S . -B "$second" --toolchain cmake/toolchain-i686-w64-mingw32.cmake -DCMAKE_BUILD_TYPE=Release \
  -DLUMO_TESTS=OFF -UCMAKE_CXX_COMPILER_LAUNCHER >/dev/null
CCACHE_DISABLE=1 cmake --build "$second" --target zip -j 2 >/dev/null

zip=$(cd "$first" && ls lumo-*-win32.zip)
[ "$(echo "$zip" | wc -l)" = 1 ] || fail "not one package in $first: $zip"
cmp "$first/lumo.dll" "$second/lumo.dll" || fail "lumo.dll differs between $first and $second"
cmp "$first/$zip" "$second/$zip" || fail "$zip differs between $first and $second"
echo "check-repro: lumo.dll and $zip ($(stat -c %s "$first/$zip") bytes) the same from two builds"
