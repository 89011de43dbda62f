#!/bin/sh
# Installs what is missing, builds everything and runs all tests, the
# installed-package consumer check included.
set -eu
cd "$(dirname "$0")/.."

./scripts/install-dependencies.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTARNEL_BUILD_TESTS=ON
cmake --build build -j "$(nproc)"
ctest --test-dir build --output-on-failure -j "$(nproc)"
