#!/usr/bin/env bash
# Configures and builds into ./build; a second run only rebuilds what changed.
# Extra CMake options come from QLX_CMAKE_FLAGS (CI sets warnings as errors).
set -euo pipefail
cd "$(dirname "$0")/.."
if [ ! -f build/CMakeCache.txt ] || [ -n "${QLX_CMAKE_FLAGS:-}" ]; then
  # shellcheck disable=SC2086
  cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo ${QLX_CMAKE_FLAGS:-} >/dev/null
fi
cmake --build build -j"$(nproc)"
