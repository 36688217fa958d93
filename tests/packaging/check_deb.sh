#!/bin/sh
# Builds the Debian package from the build tree, checks its contents and
# dependencies, unpacks it into a scratch folder and starts the program from
# there headless with a curve file.
set -eu
build=$1
version=$2
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
cd "$build"
cpack -G DEB -B "$out" >"$out/cpack.log" 2>&1 || { cat "$out/cpack.log"; exit 1; }
deb=$(ls "$out"/qlx50-manager_"$version"_*.deb)
echo "package: $(basename "$deb"), $(du -k "$deb" | cut -f1) KiB"

fail() { echo "FAIL: $*"; exit 1; }
contents=$(dpkg-deb -c "$deb" | awk '{print $6}')
for f in ./usr/bin/qlx50-manager ./usr/bin/qlx50-sim \
         ./usr/share/applications/io.qlx50.manager.desktop \
         ./usr/share/metainfo/io.qlx50.manager.metainfo.xml \
         ./usr/share/mime/packages/qlx50-manager.xml \
         ./usr/share/icons/hicolor/48x48/apps/qlx50-manager.png \
         ./usr/share/icons/hicolor/256x256/apps/qlx50-manager.png \
         ./usr/share/man/man1/qlx50-manager.1.gz ./usr/share/man/man1/qlx50-sim.1.gz \
         ./usr/share/doc/qlx50-manager/README.md ./usr/share/doc/qlx50-manager/README.html; do
  echo "$contents" | grep -qx "$f" || fail "the package lacks $f"
done
if echo "$contents" | grep -E 'tests?/|bench|_tests$|icon-render|\.a$' ; then
  fail "the package holds build or test files"
fi

depends=$(dpkg-deb -f "$deb" Depends)
suggests=$(dpkg-deb -f "$deb" Suggests)
echo "Depends: $depends"
echo "Suggests: $suggests"
for p in libqt6widgets6 libqt6sql6 libqt6printsupport6 libqt6sql6-sqlite qt6-translations-l10n fonts-ipafont-gothic libc6; do
  echo "$depends" | grep -q "$p" || fail "Depends lacks $p"
done
echo "$suggests" | grep -q libqt6sql6-psql || fail "Suggests lacks libqt6sql6-psql"
[ "$(dpkg-deb -f "$deb" Architecture)" = "$(dpkg --print-architecture)" ] || fail "wrong architecture"

root="$out/root"
dpkg-deb -x "$deb" "$root"
[ "$("$root/usr/bin/qlx50-manager" --version)" = "qlx50-manager $version" ] || fail "--version"
"$root/usr/bin/qlx50-manager" --help | grep -q '^Usage: qlx50-manager' || fail "--help"
"$root/usr/bin/qlx50-sim" --help | grep -q '^usage: qlx50-sim' || fail "qlx50-sim --help"

# A curve of the simulated instrument, opened by the unpacked program: it
# must still be running after a few seconds (no missing library, no crash).
"$root/usr/bin/qlx50-sim" --export-refs "$out/curves"
curve=$(ls "$out"/curves/*.q5imp | head -n 1)
set +e
(cd "$out" && QT_QPA_PLATFORM=offscreen timeout 5 "$root/usr/bin/qlx50-manager" "$curve" >"$out/run.log" 2>&1)
rc=$?
set -e
[ "$rc" -eq 124 ] || { cat "$out/run.log"; fail "the program ended by itself (exit $rc)"; }
if grep -E 'error while loading|cannot open shared|Segmentation' "$out/run.log"; then fail "the program did not start"; fi
echo "the unpacked program runs with $(basename "$curve")"
