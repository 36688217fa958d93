#!/bin/sh
# check_lintian.sh OUT VERSION MAINTAINER: Debian's package checker finds no
# error and no warning in the package. A maintainer without a mail address
# (the default; a release sets -DQLX_PACKAGE_MAINTAINER="Name <mail>") makes
# the Maintainer field and the changelog's trailer malformed: those two
# findings are let through then, and only then.
set -eu
. "$(dirname "$0")/deb_common.sh"
maintainer=$3
suppress=""
case "$maintainer" in
  *"<"*"@"*">"*) ;;
  *) suppress="--suppress-tags malformed-contact,syntax-error-in-debian-changelog"
     echo "note: the maintainer '$maintainer' has no mail address; the Maintainer field and the changelog's trailer are not checked" ;;
esac
log=$(mktemp)
trap 'rm -f "$log"' EXIT
set +e
# shellcheck disable=SC2086
lintian --fail-on error,warning --tag-display-limit 0 $suppress "$deb" >"$log" 2>&1
status=$?
set -e
grep -v 'running with root privileges' "$log" || true
[ "$status" -eq 0 ] || fail "lintian reports errors or warnings (above)"
echo "lintian: no errors, no warnings"
