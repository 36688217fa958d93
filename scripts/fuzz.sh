#!/usr/bin/env bash
# Builds the libFuzzer targets with clang into ./build-fuzz and runs each for
# a few seconds from its seed corpus (QLX_FUZZ_SECONDS, default 3), as CTest
# tests. A long run of one target: build-fuzz/tests/fuzz/<name>_fuzz
# -max_total_time=600 build-fuzz/tests/fuzz/corpus/<name> tests/fuzz/corpus/<name>
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${QLX_FUZZ_SECONDS:-3}"
if [ ! -f build-fuzz/CMakeCache.txt ] || [ -n "${QLX_CMAKE_FLAGS:-}" ]; then
  # shellcheck disable=SC2086
  CXX=clang++-14 cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQLX_FUZZ=ON \
    -DQLX_FUZZ_SECONDS="$seconds" ${QLX_CMAKE_FLAGS:-} >/dev/null
fi
cmake --build build-fuzz -j"$(nproc)" --target qlx_fuzz_all
ctest --test-dir build-fuzz --output-on-failure
