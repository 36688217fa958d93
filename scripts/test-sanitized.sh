#!/usr/bin/env bash
# Builds the tests with AddressSanitizer and UndefinedBehaviorSanitizer into
# ./build-asan and runs every one of them headless; any report fails the run.
set -euo pipefail
cd "$(dirname "$0")/.."
if [ ! -f build-asan/CMakeCache.txt ] || [ -n "${QLX_CMAKE_FLAGS:-}" ]; then
  # shellcheck disable=SC2086
  cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQLX_SANITIZE=ON -DQLX_BUILD_BENCH=OFF \
    ${QLX_CMAKE_FLAGS:-} >/dev/null
fi
cmake --build build-asan -j"$(nproc)"
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:detect_stack_use_after_return=1:strict_string_checks=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
ctest --test-dir build-asan --output-on-failure -j"$(nproc)" --timeout 600
