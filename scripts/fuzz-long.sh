#!/usr/bin/env bash
# Runs each fuzz target for a fixed number of executions (default 1,000,000),
# one after another: the long run that CI has no time for. Builds the fuzz
# preset (clang, libFuzzer with address and undefined-behaviour sanitizers).
#
# Usage: scripts/fuzz-long.sh [-t seconds] [runs] [target...]
#   -t       also stop each target after this many seconds (wall clock)
#   runs     executions per target (default 1000000)
#   target   names of fuzz targets to run (default: every target)
#
# Inputs that reach new code are kept in build/fuzz-long/<target>/corpus, so a
# later run goes on from there; the seed corpus in fuzz/ is only read. A
# finding is written to build/fuzz-long/<target>/ (crash-*, leak-*, oom-*,
# timeout-*, slow-unit-*) and the libFuzzer output to build/fuzz-long/<target>.log.
# Environment: LUMO_FUZZ_ARGS, more libFuzzer options (e.g. -max_len=65536).
#
# Each target's line gives the executions, the wall-clock and the CPU seconds
# (user + system, so the figure stays honest on a loaded machine); the lines
# are also appended to build/fuzz-long/summary.txt with the date.
set -euo pipefail
cd "$(dirname "$0")/.."

usage() { echo "usage: $0 [-t seconds] [runs] [target...]" >&2; exit 2; }
seconds=0
if [ "${1:-}" = "-t" ]; then
  [[ "${2:-}" =~ ^[0-9]+$ ]] || usage
  seconds=$2
  shift 2
fi
runs=${1:-1000000}
shift || true
[[ "$runs" =~ ^[0-9]+$ ]] || usage
time_limit=()
[ "$seconds" -gt 0 ] && time_limit=(-max_total_time="$seconds")

out=build/fuzz-long
mkdir -p "$out"
cmake --preset fuzz >"$out/configure.log" || { cat "$out/configure.log"; exit 1; }
mapfile -t fuzzers <build/fuzz/fuzzers.txt
wanted=("$@")
if [ ${#wanted[@]} -eq 0 ]; then
  for entry in "${fuzzers[@]}"; do [ -n "$entry" ] && wanted+=("$(basename "${entry%% *}")"); done
fi
# Program and seed corpus of the target called $1, from the configured list.
find_target() {
  program="" corpus=""
  for entry in "${fuzzers[@]}"; do
    [ "$(basename "${entry%% *}")" = "$1" ] && { program=${entry%% *}; corpus=${entry#* }; }
  done
  [ -n "$program" ] || { echo "no fuzz target named $1" >&2; exit 2; }
}
for name in "${wanted[@]}"; do find_target "$name"; done
cmake --build --preset fuzz --target "${wanted[@]}" >"$out/build.log" 2>&1 || { cat "$out/build.log"; exit 1; }

passed=0
failed=0
for name in "${wanted[@]}"; do
  find_target "$name"
  mkdir -p "$out/$name/corpus"
  log="$out/$name.log"
  start=$(date +%s)
  # shellcheck disable=SC2086  # LUMO_FUZZ_ARGS holds separate options
  if /usr/bin/time -o "$out/$name.cpu" -f "%U %S" \
       "$program" -runs="$runs" "${time_limit[@]}" -print_final_stats=1 -artifact_prefix="$out/$name/" \
       ${LUMO_FUZZ_ARGS:-} "$out/$name/corpus" "$corpus" >"$log" 2>&1; then
    verdict="no finding"; passed=$((passed + 1))
  else
    verdict="FINDING, see $log and $out/$name/"; failed=$((failed + 1))
  fi
  execs=$(sed -nE 's/^stat::number_of_executed_units: *([0-9]+).*/\1/p' "$log" | tail -1)
  # A finding stops the run before the final statistics: take the last status line.
  [ -n "$execs" ] || execs=$(sed -nE 's/^#([0-9]+).*/\1/p' "$log" | tail -1)
  cpu=$(awk 'NF == 2 && $1 ~ /^[0-9.]+$/ { printf "%.0f", $1 + $2 }' "$out/$name.cpu")
  line="fuzz $name: ${execs:-?} executions in $(($(date +%s) - start)) s (${cpu:-?} CPU s): $verdict"
  echo "$line"
  echo "$(date -u +%Y-%m-%d) $line" >>"$out/summary.txt"
done

echo "fuzz-long: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
