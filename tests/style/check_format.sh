#!/usr/bin/env bash
# Every C++ source of the repository is as .clang-format lays it out.
# usage: check_format.sh CLANG_FORMAT SOURCE_DIR
set -euo pipefail
clang_format="$1"
cd "$2"
mapfile -t files < <(find src tests tools bench -name '*.cpp' -o -name '*.h' | sort)
[ "${#files[@]}" -gt 0 ] || { echo "no sources found under $2"; exit 1; }
findings="$(mktemp)"
trap 'rm -f "$findings"' EXIT
if ! "$clang_format" --dry-run --Werror "${files[@]}" 2>"$findings"; then
  # One line per file that would change, then clang-format's first findings.
  grep -o '^[^:]*\.\(cpp\|h\):' "$findings" | sort -u
  head -40 "$findings"
  exit 1
fi
echo "${#files[@]} files formatted as .clang-format says"
