#!/bin/sh
# Installs what is missing, builds the libraries and the tests with
# AddressSanitizer and UndefinedBehaviorSanitizer into ./build-sanitize, and
# runs the tests under them (no examples, benchmarks or consumer check).
set -eu
cd "$(dirname "$0")/.."
root="$(pwd)"

./scripts/install-dependencies.sh
# -O1 keeps the instrumented build and the runs short while keeping the
# frames a report names.
cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g -DNDEBUG" \
  -DTARNEL_SANITIZE=ON -DTARNEL_BUILD_TESTS=ON \
  -DTARNEL_BUILD_EXAMPLES=OFF -DTARNEL_BUILD_BENCHMARKS=OFF
cmake --build build-sanitize -j "$(nproc)"

# ctest hands these to every process it starts, the test listing that
# gtest_discover_tests runs before each test included. Why mismatched
# new[]/delete is not reported and why stacks are unwound in full: the
# comments in .ci/sanitizers.
supp="$root/.ci/sanitizers"
export ASAN_OPTIONS="halt_on_error=1:detect_leaks=1:alloc_dealloc_mismatch=0:fast_unwind_on_malloc=0:suppressions=$supp/asan.supp"
export LSAN_OPTIONS="suppressions=$supp/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
ctest --test-dir build-sanitize --output-on-failure -j "$(nproc)"
