#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the run need, and
# nothing when all of them are already there.
set -euo pipefail

packages=(
  build-essential cmake pkg-config
  qt6-base-dev libgl-dev
  libqt6sql6-sqlite libqt6sql6-psql
  postgresql  # the tests start a server of their own; the program needs only the driver
  libgtest-dev libgmock-dev libbenchmark-dev
  fonts-ipafont-gothic qt6-translations-l10n
  # printing: the program reads CUPS's own answer to a job; the tests print
  # for real to a PDF printer of their own scheduler and render the PDFs
  libcups2-dev
  cups printer-driver-cups-pdf poppler-utils
)
[ "${1:-}" = "--gui" ] && packages+=(xvfb xdotool imagemagick)

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [ "$status" = "install ok installed" ] || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
