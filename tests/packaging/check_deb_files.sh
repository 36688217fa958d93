#!/bin/sh
# check_deb_files.sh OUT VERSION: the package holds every installed file
# where a Linux desktop, man and dpkg look for it, owned by root with
# Debian's modes, and nothing of the build or the tests.
set -eu
. "$(dirname "$0")/deb_common.sh"

listing=$(dpkg-deb -c "$deb")
contents=$(echo "$listing" | awk '{print $6}')
for f in ./usr/bin/qlx50-manager ./usr/bin/qlx50-sim \
         ./usr/share/applications/io.qlx50.manager.desktop \
         ./usr/share/metainfo/io.qlx50.manager.metainfo.xml \
         ./usr/share/mime/packages/qlx50-manager.xml \
         ./usr/share/icons/hicolor/48x48/apps/qlx50-manager.png \
         ./usr/share/icons/hicolor/256x256/apps/qlx50-manager.png \
         ./usr/share/man/man1/qlx50-manager.1.gz ./usr/share/man/man1/qlx50-sim.1.gz \
         ./usr/share/doc/qlx50-manager/README.md ./usr/share/doc/qlx50-manager/README.html \
         ./usr/share/doc/qlx50-manager/copyright ./usr/share/doc/qlx50-manager/changelog.gz \
         ./usr/share/doc/qlx50-manager/docs/images/impedance.png; do
  echo "$contents" | grep -qx "$f" || fail "the package lacks $f"
done
if echo "$contents" | grep -E 'tests?/|bench|_tests$|icon-render|screenshots$|\.a$|\.in$'; then
  fail "the package holds build or test files (above)"
fi
if echo "$contents" | grep -Ev '^\./(usr/((bin|share)(/.*)?)?)?$'; then
  fail "the package installs outside /usr/bin and /usr/share (above)"
fi

# Owner root/root; programs and folders 0755, every other file 0644.
echo "$listing" | awk '
  $2 != "root/root" { print "not owned by root: " $6; bad = 1 }
  $1 ~ /^d/ && $1 != "drwxr-xr-x" { print "folder mode " $1 ": " $6; bad = 1 }
  $1 ~ /^-/ && $6 ~ /^\.\/usr\/bin\// && $1 != "-rwxr-xr-x" { print "program mode " $1 ": " $6; bad = 1 }
  $1 ~ /^-/ && $6 !~ /^\.\/usr\/bin\// && $1 != "-rw-r--r--" { print "file mode " $1 ": " $6; bad = 1 }
  END { exit bad }' || fail "owners or modes as listed above"

# The programs are stripped, as Debian ships them (the debug data would make
# the package several times its size).
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg-deb -x "$deb" "$root"
for p in qlx50-manager qlx50-sim; do
  if readelf -S "$root/usr/bin/$p" | grep -q '\.debug_info'; then fail "$p is not stripped"; fi
done
echo "$(echo "$contents" | grep -vc '/$') files, in place, root-owned, with Debian's modes"
