#!/bin/sh
# build_deb.sh BUILD OUT VERSION: builds the Debian package of the build tree
# into OUT (emptied first) with CPack, for the package tests that follow.
set -eu
build=$1
out=$2
version=$3
rm -rf "$out"
mkdir -p "$out"
cd "$build"
cpack -G DEB -B "$out" >"$out/cpack.log" 2>&1 || { cat "$out/cpack.log"; exit 1; }
count=$(ls "$out"/qlx50-manager_"$version"_*.deb 2>/dev/null | wc -l)
[ "$count" -eq 1 ] || { echo "FAIL: expected one qlx50-manager_${version}_*.deb in $out, found $count"; ls "$out"; exit 1; }
deb=$(ls "$out"/qlx50-manager_"$version"_*.deb)
echo "package: $(basename "$deb"), $(du -k "$deb" | cut -f1) KiB"
