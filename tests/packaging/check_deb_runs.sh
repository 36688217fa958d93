#!/bin/sh
# check_deb_runs.sh OUT VERSION: the package unpacked into a scratch folder
# answers --version and --help, and its program starts headless with a
# curve of its simulator and keeps running (no missing library, no crash).
set -eu
. "$(dirname "$0")/deb_common.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

root="$work/root"
dpkg-deb -x "$deb" "$root"
[ "$("$root/usr/bin/qlx50-manager" --version)" = "qlx50-manager $version" ] || fail "--version"
"$root/usr/bin/qlx50-manager" --help | grep -q '^Usage: qlx50-manager' || fail "--help"
"$root/usr/bin/qlx50-sim" --help | grep -q '^usage: qlx50-sim' || fail "qlx50-sim --help"

"$root/usr/bin/qlx50-sim" --export-refs "$work/curves"
curve=$(ls "$work"/curves/*.q5imp | head -n 1)
set +e
(cd "$work" && QT_QPA_PLATFORM=offscreen HOME="$work" XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data" \
   timeout 5 "$root/usr/bin/qlx50-manager" "$curve" >"$work/run.log" 2>&1)
rc=$?
set -e
[ "$rc" -eq 124 ] || { cat "$work/run.log"; fail "the program ended by itself (exit $rc)"; }
if grep -E 'error while loading|cannot open shared|Segmentation' "$work/run.log"; then fail "the program did not start"; fi
echo "the unpacked program runs with $(basename "$curve")"
