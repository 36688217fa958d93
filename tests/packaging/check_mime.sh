#!/bin/sh
# The shared-mime-info definition parses and maps both extensions to their
# types (update-mime-database into a scratch folder).
set -eu
xml=$1
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
mkdir -p "$dir/packages"
cp "$xml" "$dir/packages/qlx50-manager.xml"
update-mime-database "$dir"
grep -q '^50:application/x-qlx50-curve:\*\.q5imp$' "$dir/globs2" || { echo "no glob for *.q5imp"; cat "$dir/globs2"; exit 1; }
grep -q '^50:application/x-qlx50-reference-list:\*\.q5lst$' "$dir/globs2" || { echo "no glob for *.q5lst"; exit 1; }
echo "both file types known"
