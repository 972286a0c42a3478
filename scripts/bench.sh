#!/usr/bin/env bash
# Builds the optimised preset, runs every benchmark in bench/ beside its
# anchor, keeps each one's whole output in build/linux-release/bench-results/
# and prints the rows of the table in docs/performance.md, with the machine's
# load before and after.
# Usage: scripts/bench.sh [data directory]
#   (default build/linux-release/bench-data: the generated mail stores, about
#   1 GB, are kept there for later runs)
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/deps.sh bench
benches=(hook_bench open_bench creation_bench link_index_bench link_removal_bench mime_tree_bench
         locator_bench cleanup_bench)
cmake --preset linux-release > /dev/null
cmake --build --preset linux-release --target "${benches[@]}" > /dev/null

bin=build/linux-release/bench
out=build/linux-release/bench-results
data=$(realpath -m "${1:-build/linux-release/bench-data}")
mkdir -p "$out" "$data"

load() { cut -d' ' -f1-3 /proc/loadavg; }
echo "load average before: $(load) ($(nproc) cores)" | tee "$out/load.txt"
run() {
  local name=$1
  shift
  echo "running $name ..." >&2
  "$@" > "$out/$name.txt" 2>&1 || { cat "$out/$name.txt" >&2; echo "$name failed" >&2; exit 1; }
}
run hook_bench "$bin/ui/hook_bench"
run open_bench "$bin/open/open_bench"
run creation_bench "$bin/creation/creation_bench"
run link_index_bench "$bin/linkindex/link_index_bench" "$data"
run link_removal_bench "$bin/linkindex/link_removal_bench" "$data"
run mime_tree_bench "$bin/mime/mime_tree_bench"
run locator_bench "$bin/locator/locator_bench" "$data"
run cleanup_bench "$bin/cleanup/cleanup_bench" "$data"
echo "load average after: $(load)" | tee -a "$out/load.txt"

python3 scripts/bench_table.py "$out"
