#!/bin/sh
# The shared-mime-info definition parses and maps both extensions, in the
# lower case the program writes and opens, to their types: in the database
# update-mime-database makes of it in a scratch folder (":cs" marks a glob
# that matches only in its own letter case) and as GLib's file type
# detection, which file managers use, sees files by their names.
set -eu
xml=$1
gio=$2
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
mkdir -p "$dir/share/mime/packages"
cp "$xml" "$dir/share/mime/packages/qlx50-manager.xml"
update-mime-database "$dir/share/mime" 2>/dev/null
for entry in 'application/x-qlx50-curve:\*\.q5imp' 'application/x-qlx50-reference-list:\*\.q5lst'; do
  grep -q "^50:$entry:cs\$" "$dir/share/mime/globs2" || {
    echo "no case-sensitive glob $entry in globs2:"
    cat "$dir/share/mime/globs2"
    exit 1
  }
done

# name, type GLib must see
for f in 'unit 1.q5imp application/x-qlx50-curve' 'line-3.q5lst application/x-qlx50-reference-list' \
         'UNIT.Q5IMP -' 'LINE.Q5Lst -'; do
  name=${f% *}
  want=${f##* }
  printf "[QLX-50]\r\n" >"$dir/$name"
  got=$(XDG_DATA_HOME="$dir/none" XDG_DATA_DIRS="$dir/share" "$gio" info -a standard::content-type "$dir/$name" |
        sed -n 's/^ *standard::content-type: //p')
  if [ "$want" = - ]; then
    case "$got" in application/x-qlx50-*) echo "FAIL: $name is seen as $got"; exit 1 ;; esac
  elif [ "$got" != "$want" ]; then
    echo "FAIL: $name is seen as '$got', not $want"
    exit 1
  fi
done
echo "both file types known by their lower-case extensions, and only by those"
