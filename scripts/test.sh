#!/usr/bin/env bash
# Runs every test: the Linux suite under address and undefined-behaviour
# sanitizers, the fuzz targets for a short while, the production win32 DLL's
# exports and imports, and the win64 build's suite under Wine.
# Environment: LUMO_FUZZ_SECONDS (default 20) per fuzz target.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh test

passed=0
failed=0
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

stage "win32: the production lumo.dll"
cmake --preset win32 >"$log/win32-configure.log"
cmake --build --preset win32
if scripts/check-dll.sh build/win32/lumo.dll; then passed=$((passed + 1)); else failed=$((failed + 1)); fi

stage "win64: the same code under Wine"
cmake --preset win64 >"$log/win64-configure.log"
cmake --build --preset win64
# CTest prepares the build's own Wine prefix first (fixture wine_prefix).
xvfb-run -a ctest --preset win64 2>&1 | tee "$log/win64-ctest.log" || true
count_ctest "$log/win64-ctest.log"

echo
echo "lumo: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
