#!/bin/sh
# Installs what is missing, builds the library and the example host program,
# and runs the example (its files go to ./tarnel-example-output).
set -eu
cd "$(dirname "$0")/.."

./scripts/install-dependencies.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build --target example_host -j "$(nproc)"
./build/examples/example_host "${1:-tarnel-example-output}"
