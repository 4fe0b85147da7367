#!/usr/bin/env bash
# Installs the Debian 12 packages Kestrix needs to build, run and test, when
# any is missing, and the packages named as arguments (scripts/fuzz.sh asks
# for clang so); --package adds the tools that check the Debian package.
# Needs root (or sudo) only when something must be installed.
set -euo pipefail

extra=()
package_tools=0
for arg in "$@"; do
  if [ "$arg" = "--package" ]; then package_tools=1; else extra+=("$arg"); fi
done

PACKAGES=(
  build-essential cmake ninja-build pkg-config git
  qt6-base-dev qt6-base-dev-tools libqt6test6 libgl-dev
  libmount-dev libblkid-dev libudev-dev libjpeg62-turbo-dev libfontconfig-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  fonts-wine
  xvfb xauth x11-utils imagemagick xdotool trayer openbox
  e2fsprogs squashfs-tools util-linux mount bindfs fuse3
  libx11-dev libxdamage-dev libxfixes-dev
  jq dpkg-dev file
  "${extra[@]}"
)
# Checking the package and what it installs (scripts/deps.sh --package).
if [ "$package_tools" -eq 1 ]; then
  PACKAGES+=(desktop-file-utils appstream man-db lintian)
fi

missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
