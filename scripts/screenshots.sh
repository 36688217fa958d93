#!/usr/bin/env bash
# Takes the README's pictures from the program's own windows under Xvfb
# (a simulated instrument runs inside the picture taker) into docs/images.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh --gui
scripts/build.sh
mkdir -p docs/images
xvfb-run --auto-servernum --server-args="-screen 0 1280x1024x24 -nolisten tcp" \
  build/qlx50-screenshots docs/images
