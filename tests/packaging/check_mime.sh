#!/bin/sh
# The shared-mime-info definition parses and maps both extensions, in the
# lower case the program writes and opens, to their types
# (update-mime-database into a scratch folder; ":cs" marks a glob that
# matches only in its own letter case).
set -eu
xml=$1
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
mkdir -p "$dir/packages"
cp "$xml" "$dir/packages/qlx50-manager.xml"
update-mime-database "$dir"
for entry in 'application/x-qlx50-curve:\*\.q5imp' 'application/x-qlx50-reference-list:\*\.q5lst'; do
  grep -q "^50:$entry:cs\$" "$dir/globs2" || {
    echo "no case-sensitive glob $entry in globs2:"
    cat "$dir/globs2"
    exit 1
  }
done
echo "both file types known by their lower-case extensions"
