#!/bin/sh
# Every man page formats with no warning from groff.
set -eu
for page in "$@"; do
  warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l "$page" 2>&1 >/dev/null)
  if [ -n "$warnings" ]; then
    echo "$page:"
    echo "$warnings"
    exit 1
  fi
  LC_ALL=C.UTF-8 MANWIDTH=80 man -E UTF-8 -l "$page" | grep -q '^NAME' || { echo "$page has no NAME section"; exit 1; }
done
echo "man pages format cleanly"
