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
  # the decimal-separator tests of exports run in a German locale
  locales
  # the fuzz targets: clang with libFuzzer and the sanitizers' runtimes
  clang-14 libclang-rt-14-dev
  # the layout check of the sources
  clang-format-14
  # packaging: the HTML documentation, the Debian package and its checks
  python3-markdown dpkg-dev desktop-file-utils appstream shared-mime-info libglib2.0-bin man-db lintian
)
[ "${1:-}" = "--gui" ] && packages+=(xvfb xdotool imagemagick)

SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [ "$status" = "install ok installed" ] || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# The tests write numbers under a German locale (decimal comma), which a
# fresh machine does not have until it is generated.
if ! locale -a 2>/dev/null | grep -qix 'de_DE\.utf-\?8'; then
  echo "Generating locale de_DE.UTF-8"
  if grep -q '^# *de_DE.UTF-8 UTF-8' /etc/locale.gen 2>/dev/null; then
    $SUDO sed -i 's/^# *\(de_DE.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  elif ! grep -q '^de_DE.UTF-8 UTF-8' /etc/locale.gen 2>/dev/null; then
    echo 'de_DE.UTF-8 UTF-8' | $SUDO tee -a /etc/locale.gen >/dev/null
  fi
  $SUDO locale-gen >/dev/null
fi
