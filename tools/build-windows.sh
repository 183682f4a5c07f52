#!/usr/bin/env bash
# Builds the Windows program and its tests with the mingw-w64 cross compiler into build-windows/
# (lumera8.exe at its top). Installs what it needs on Debian 12 when run as root.
# LUMERA_WINDOWS_ARCH=x64 makes the 64-bit build in build-windows-x64/ instead, which the tests
# use where the kernel cannot run 32-bit Linux programs (and so wine32 cannot start).
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
arch="${LUMERA_WINDOWS_ARCH:-x86}"

# The cross compiler, GoogleTest's sources, Wine and what the tests under Wine use.
packages=(
  cmake ninja-build python3 ccache
  googletest
  wine wine32:i386 fonts-wine
  xvfb xauth xdotool imagemagick x11-utils fonts-liberation2 python3-pil
  nsis zip
)
case "$arch" in
  x86)
    packages+=(g++-mingw-w64-i686-posix)
    toolchain="$here/cmake/toolchain-mingw32.cmake"
    build="${LUMERA_WINDOWS_BUILD_DIR:-$here/build-windows}"
    ;;
  x64)
    packages+=(g++-mingw-w64-x86-64-posix wine64)
    toolchain="$here/cmake/toolchain-mingw64.cmake"
    build="${LUMERA_WINDOWS_X64_BUILD_DIR:-$here/build-windows-x64}"
    ;;
  *) echo "build-windows.sh: LUMERA_WINDOWS_ARCH is x86 or x64, not $arch" >&2; exit 2 ;;
esac
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  if [ "$(id -u)" -ne 0 ]; then
    echo "build-windows.sh: missing packages (run as root to install them): ${missing[*]}" >&2
    exit 1
  fi
  export DEBIAN_FRONTEND=noninteractive
  # wine32 is an i386 package.
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    dpkg --add-architecture i386
  fi
  apt-get update
  apt-get install -y --no-install-recommends "${missing[@]}"
fi

launcher=()
if command -v ccache >/dev/null; then
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
  export CCACHE_BASEDIR="${CCACHE_BASEDIR:-$here}" CCACHE_NOHASHDIR=1
fi
cmake -G Ninja -S "$here" -B "$build" \
  -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
  -DCMAKE_BUILD_TYPE="${LUMERA_WINDOWS_BUILD_TYPE:-Release}" "${launcher[@]}"
cmake --build "$build" -j "${LUMERA_JOBS:-$(nproc)}"
if [ -f "$build/lumera8.exe" ]; then
  echo "build-windows.sh: $build/lumera8.exe ($(stat -c %s "$build/lumera8.exe") bytes)"
  # The installer and the portable zip beside it.
  bash "$here/tools/package-windows.sh" "$build" "$arch"
else
  echo "build-windows.sh: built the libraries and tests; the Win32 front-end (lumera8.exe) is not in this tree yet"
fi
