#!/bin/sh
# check_deb_control.sh OUT VERSION: the package's control fields: its name,
# version and architecture, and the Debian runtime packages it depends on,
# both those its programs link and those loaded at run time.
set -eu
. "$(dirname "$0")/deb_common.sh"

field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = qlx50-manager ] || fail "Package is '$(field Package)'"
[ "$(field Version)" = "$version" ] || fail "Version is '$(field Version)', not $version"
[ "$(field Architecture)" = "$(dpkg --print-architecture)" ] || fail "Architecture is '$(field Architecture)'"
[ -n "$(field Maintainer)" ] || fail "no Maintainer"
[ -n "$(field Installed-Size)" ] || fail "no Installed-Size"

depends=$(field Depends)
suggests=$(field Suggests)
echo "Depends: $depends"
echo "Suggests: $suggests"
# One alternative list per comma-separated entry, package names only.
entries=$(echo "$depends" | tr ',' '\n' | sed 's/([^)]*)//g; s/[[:space:]]//g')
for p in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6 libqt6printsupport6 libqt6sql6 \
         libqt6sql6-sqlite qt6-translations-l10n; do
  echo "$entries" | tr '|' '\n' | grep -qx "$p" || fail "Depends lacks $p"
done
# A Japanese font, either of the two, as one entry.
echo "$entries" | grep -qx 'fonts-ipafont-gothic|fonts-noto-cjk' || fail "Depends lacks a Japanese font"
# Optional parts are suggestions only.
echo "$suggests" | tr ',' '\n' | sed 's/[[:space:]]//g' | grep -qx libqt6sql6-psql || fail "Suggests lacks libqt6sql6-psql"
if echo "$entries" | grep -Eq 'psql|^cups'; then fail "Depends requires an optional part"; fi
echo "control fields as expected"
