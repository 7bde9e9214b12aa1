#!/usr/bin/env bash
# Installs the Debian packages Examora needs to build, test and run.
# Skips the install when everything is already there.
set -euo pipefail
packages=(
  build-essential cmake ninja-build pkg-config ccache
  qt6-base-dev qt6-multimedia-dev libqt6sql6-sqlite libqt6sql6-odbc
  libturbojpeg0-dev libsqlite3-dev
  xvfb xauth xdotool x11-utils imagemagick poppler-utils fonts-noto-cjk
  mdbtools mdbtools-dev unixodbc odbcinst tdsodbc
  gstreamer1.0-plugins-base gstreamer1.0-plugins-good
  clang libclang-rt-14-dev clang-format
  qt6-translations-l10n
  lintian
  qt6-charts-dev libqt6opengl6-dev
  postgresql libqt6sql6-psql
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -eq 0 ]; then
  echo "setup: all packages present"
  exit 0
fi
echo "setup: installing ${missing[*]}"
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
