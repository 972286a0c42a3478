#!/usr/bin/env bash
# Runs every test: the Linux suite under address and undefined-behaviour
# sanitizers, the layering and formatting checks, the fuzz targets for a short
# while, the production win32 DLL's exports, imports, dialogs and version, the
# release package built twice to the same bytes, the win32
# build's suite under 32-bit Wine against that very DLL (where the kernel runs
# 32-bit programs; otherwise counted as skipped, saying why), and the win64
# build's suite under Wine.
# Environment: LUMO_FUZZ_SECONDS (default 20) per fuzz target.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh test

passed=0
failed=0
skipped=0
log=build/test-logs
mkdir -p "$log"

# Adds the counts of a ctest run to the totals.
count_ctest() {
  local line total bad
  line=$(grep -E 'tests passed, [0-9]+ tests? failed out of [0-9]+' "$1" | tail -1 || true)
  [ -n "$line" ] || { failed=$((failed + 1)); return; }
  total=$(sed -E 's/.* out of ([0-9]+).*/\1/' <<<"$line")
  bad=$(sed -E 's/.*passed, ([0-9]+) tests? failed.*/\1/' <<<"$line")
  passed=$((passed + total - bad))
  failed=$((failed + bad))
}

stage() { echo; echo "== $*"; }

stage "Linux build and tests (sanitizers)"
cmake --preset linux >"$log/linux-configure.log"
cmake --build --preset linux
ctest --preset linux 2>&1 | tee "$log/linux-ctest.log" || true
count_ctest "$log/linux-ctest.log"

stage "Layering: includes point downward, platform conditionals stay in platform/"
if scripts/check-layers.sh; then passed=$((passed + 1)); else failed=$((failed + 1)); fi

stage "Format: every C++ file as .clang-format lays it out"
# The files git knows (tracked or new, not ignored); every file outside build/
# where there is no git checkout.
cpp_files() {
  git ls-files -z --cached --others --exclude-standard -- '*.cpp' '*.h' 2>/dev/null ||
    find . -path ./build -prune -o \( -name '*.cpp' -o -name '*.h' \) -print0
}
if cpp_files | xargs -0 clang-format --dry-run --Werror 2>"$log/format.log"; then
  echo "format: every file as .clang-format lays it out"; passed=$((passed + 1))
else
  echo "format: FAILED (clang-format -i the files named in $log/format.log)"; failed=$((failed + 1))
  grep -o '^[^: ]*\.\(cpp\|h\):' "$log/format.log" | sort -u | sed 's/:$//; s/^/  /' || true
fi

stage "Fuzz targets (${LUMO_FUZZ_SECONDS:-20} s each)"
cmake --preset fuzz >"$log/fuzz-configure.log"
cmake --build --preset fuzz
while read -r program corpus; do
  [ -n "$program" ] || continue
  work=$(mktemp -d)
  if "$program" -max_total_time="${LUMO_FUZZ_SECONDS:-20}" -print_final_stats=0 "$work" "$corpus" \
       >"$log/$(basename "$program").log" 2>&1; then
    echo "fuzz $(basename "$program"): no finding"; passed=$((passed + 1))
  else
    echo "fuzz $(basename "$program"): FAILED, see $log/$(basename "$program").log"; failed=$((failed + 1))
  fi
  rm -rf "$work"
done <build/fuzz/fuzzers.txt

stage "win32: the production lumo.dll, with its host and tests beside it"
cmake --preset win32 >"$log/win32-configure.log"
cmake --build --preset win32
if scripts/check-dll.sh build/win32/lumo.dll; then passed=$((passed + 1)); else failed=$((failed + 1)); fi

stage "Release: the package lumo-<version>-win32.zip, the same bytes from two builds"
if scripts/check-repro.sh; then passed=$((passed + 1)); else failed=$((failed + 1)); fi

stage "win32: the suite under 32-bit Wine, against the shipped lumo.dll"
# Asked once: a kernel without 32-bit emulation refuses the 32-bit loader
# ("Exec format error"), and then not one of these tests can start.
if probe=$(/usr/lib/wine/wine --version 2>&1); then
  xvfb-run -a ctest --preset win32 2>&1 | tee "$log/win32-ctest.log" || true
  count_ctest "$log/win32-ctest.log"
else
  why=$(head -1 <<<"$probe" | sed -E 's/^.*line [0-9]+: //')
  tests=$(ctest --preset win32 -N 2>/dev/null | sed -nE 's/^Total Tests: ([0-9]+)/\1/p')
  echo "win32 suite: SKIPPED ${tests:-all} tests: this machine cannot run 32-bit programs ($why)"
  skipped=$((skipped + ${tests:-1}))
fi

stage "win64: the same code under Wine"
cmake --preset win64 >"$log/win64-configure.log"
cmake --build --preset win64
# CTest prepares the build's own Wine prefix first (fixture wine_prefix).
xvfb-run -a ctest --preset win64 2>&1 | tee "$log/win64-ctest.log" || true
# A Wine server ends three seconds after its last client; a test starting at
# that moment loses its connection before it runs ("wine client error").
# Only then are the failed tests run once more, and their second result counts.
if grep -q "tests FAILED" "$log/win64-ctest.log" && grep -q "wine client error" "$log/win64-ctest.log"; then
  echo "win64: a test lost its Wine server connection at start; the failed tests once more:"
  xvfb-run -a ctest --preset win64 --rerun-failed 2>&1 | tee "$log/win64-rerun.log" || true
  total=$(grep -E 'tests passed, [0-9]+ tests? failed out of [0-9]+' "$log/win64-ctest.log" | tail -1 |
    sed -E 's/.* out of ([0-9]+).*/\1/')
  bad=$(grep -E 'tests passed, [0-9]+ tests? failed out of [0-9]+' "$log/win64-rerun.log" | tail -1 |
    sed -E 's/.*passed, ([0-9]+) tests? failed.*/\1/')
  if [ -n "$total" ] && [ -n "$bad" ]; then
    passed=$((passed + total - bad)); failed=$((failed + bad))
  else
    failed=$((failed + 1))
  fi
else
  count_ctest "$log/win64-ctest.log"
fi

echo
echo "lumo: $passed passed, $failed failed, $skipped skipped"
[ "$failed" -eq 0 ]
