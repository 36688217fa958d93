#!/bin/sh
# check_release_stamp.sh OUT VERSION DATE: the package's AppStream release,
# both man pages and the copyright file carry the version and release date
# the build was configured with, none an older one written into its source.
set -eu
. "$(dirname "$0")/deb_common.sh"
date=$3
year=${date%%-*}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
dpkg-deb -x "$deb" "$work"
share="$work/usr/share"

grep -q "<release version=\"$version\" date=\"$date\"/>" "$share/metainfo/io.qlx50.manager.metainfo.xml" ||
  fail "the metainfo's release is $(grep '<release ' "$share/metainfo/io.qlx50.manager.metainfo.xml"), not $version of $date"
[ "$(grep -c '<release ' "$share/metainfo/io.qlx50.manager.metainfo.xml")" -eq 1 ] || fail "more than one release in the metainfo"
for page in qlx50-manager qlx50-sim; do
  th=$(zcat "$share/man/man1/$page.1.gz" | grep '^\.TH ')
  case "$th" in
    *" $date \"QLX-50 Manager $version\" "*) ;;
    *) fail "$page.1 has '$th', not $date and version $version" ;;
  esac
done
grep -Eq "^Copyright: ([0-9]{4}-)?$year " "$share/doc/qlx50-manager/copyright" ||
  fail "the copyright's years do not end in $year: $(grep '^Copyright:' "$share/doc/qlx50-manager/copyright")"
if grep -rl '@[A-Z_]*@' "$share/metainfo" "$share/doc/qlx50-manager/copyright"; then fail "placeholders left unconfigured"; fi
echo "version $version of $date everywhere"
