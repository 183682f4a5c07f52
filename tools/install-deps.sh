#!/usr/bin/env bash
# Installs every Debian package the build, the game and the tests need (run as root).
set -euo pipefail
packages=(
  cmake ninja-build g++ pkg-config python3
  libgtest-dev libgmock-dev libbenchmark-dev
  qt6-base-dev qt6-multimedia-dev libgl-dev
  fonts-liberation2 fonts-dejavu-core xvfb xauth openbox libxcb1-dev
  dbus-daemon dbus-bin at-spi2-core python3-pyatspi orca speech-dispatcher xdotool
  desktop-file-utils appstream dpkg-dev file
  clang-14 libclang-rt-14-dev
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update
  apt-get install -y --no-install-recommends "${missing[@]}"
fi
