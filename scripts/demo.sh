#!/usr/bin/env bash
# The demo: builds lumo.so and lumo-host, then runs the demo script on the
# built-in sample mail store, in build/demo/ made afresh: the store and a copy
# of the plug-in, whose settings file and link index are the demo's own.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh demo
cmake --preset linux >/dev/null
cmake --build --preset linux --target lumo lumo-host
rm -rf build/demo
mkdir -p build/demo
cp build/linux/lumo.so build/demo/
cd build/demo
../linux/host-sim/lumo-host --store store --plugin ./lumo.so ../../samples/demo.lhs
