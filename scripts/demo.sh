#!/usr/bin/env bash
# The demo: builds lumo.so and lumo-host, then runs the demo script on the
# built-in sample mail store (made afresh in build/demo/store).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh demo
cmake --preset linux >/dev/null
cmake --build --preset linux --target lumo lumo-host
# A fresh folder with its own copy of the plug-in, so that the settings and
# link index files beside it start empty on every run.
rm -rf build/demo && mkdir -p build/demo
cp build/linux/lumo.so build/demo/
cd build/demo
../linux/host-sim/lumo-host --store store --plugin ./lumo.so ../../samples/demo.lhs
