# Sourced by the package tests: $deb is the package build_deb.sh made in
# OUT ($1) for VERSION ($2); fail() ends a test with its reason.
out=$1
version=$2
fail() {
  echo "FAIL: $*"
  exit 1
}
deb=$(ls "$out"/qlx50-manager_"$version"_*.deb 2>/dev/null) || fail "no package in $out (Packaging.DebianPackageBuilds)"
