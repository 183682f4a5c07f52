#!/usr/bin/env bash
# Makes the Windows downloads from a built Windows program:
#   <build>/lumera8-<version>-setup.exe   the installer (NSIS, makensis)
#   <build>/lumera8-<version>-win32.zip   the portable download: one folder "Lumera 8.0" holding
#                                         lumera8.exe, Lumera8.dat, lumera8.html and licence.txt
#                                         (-win64.zip for the 64-bit build)
# Usage: package-windows.sh BUILD_DIR [x86|x64]
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:?usage: package-windows.sh BUILD_DIR [x86|x64]}" && pwd)
arch="${2:-x86}"
version=$(sed -n 's/^project(lumera8 VERSION \([0-9.]*\).*/\1/p' "$here/CMakeLists.txt")
[ -n "$version" ] || { echo "package-windows.sh: no version in CMakeLists.txt" >&2; exit 1; }
[ -f "$build/lumera8.exe" ] || { echo "package-windows.sh: $build/lumera8.exe is missing" >&2; exit 1; }

# The four files, as the player gets them.
stage="$build/package/Lumera 8.0"
rm -rf "$build/package"
mkdir -p "$stage"
cp "$build/lumera8.exe" "$here/data/Lumera8.dat" "$here/data/lumera8.html" "$here/data/licence.txt" "$stage/"

setup="$build/lumera8-$version-setup.exe"
makensis -V2 -NOCD -DVERSION="$version" -DARCH="$arch" -DSOURCE="$stage" -DOUTFILE="$setup" \
  "$here/tools/installer/lumera8.nsi"

case "$arch" in x64) zipname="lumera8-$version-win64.zip" ;; *) zipname="lumera8-$version-win32.zip" ;; esac
rm -f "$build/$zipname"
(cd "$build/package" && zip -q -X -r "$build/$zipname" "Lumera 8.0")
echo "package-windows.sh: $setup and $build/$zipname"
