#!/usr/bin/env bash
# The demo: builds lumo.so and lumo-host, then runs the demo script on the
# built-in sample mail store (made afresh in build/demo-store).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh demo
cmake --preset linux >/dev/null
cmake --build --preset linux --target lumo lumo-host
rm -rf build/demo-store
build/linux/host-sim/lumo-host --store build/demo-store --plugin build/linux/lumo.so samples/demo.lhs
