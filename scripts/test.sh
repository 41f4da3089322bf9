#!/usr/bin/env bash
# Installs the dependencies, then builds and runs the test suite three ways:
# plain, under AddressSanitizer + UndefinedBehaviorSanitizer, and the
# concurrency tests under ThreadSanitizer; then it installs the plain build
# into a temporary prefix and builds callers against it (CMake package and
# pkg-config); last, a bounded run of each fuzz target.
#
# VSDK_SKIP_DEPS=1 skips the package install (dependencies already there).
set -euo pipefail
cd "$(dirname "$0")/.."

if [ "${VSDK_SKIP_DEPS:-0}" != "1" ]; then
  bash scripts/install-deps.sh
fi
jobs=$(nproc)

echo "== plain build and tests"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build
ctest --test-dir build --output-on-failure -j "$jobs" -LE install

echo "== AddressSanitizer + UndefinedBehaviorSanitizer"
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVSDK_SANITIZE=address,undefined
cmake --build build-asan
ASAN_OPTIONS=abort_on_error=1:detect_stack_use_after_return=1 \
UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --test-dir build-asan --output-on-failure -j "$jobs"

echo "== ThreadSanitizer (concurrency tests)"
cmake -S . -B build-tsan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVSDK_SANITIZE=thread
cmake --build build-tsan
TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1 \
  ctest --test-dir build-tsan --output-on-failure -L concurrency -j "$jobs"

echo "== install, then build the example and a link check against the install"
bash tests/install_check.sh build

if [ -x fuzz/run.sh ]; then
  # A short bounded run of every fuzz target (not a test: it adds no test
  # lines); the long campaigns run outside CI (fuzz/README.md).
  echo "== fuzzing every reader of untrusted input"
  bash fuzz/run.sh all "${VSDK_FUZZ_SECONDS:-10}"
fi
echo "== all tests passed"
