#!/usr/bin/env bash
# Builds the browser edition with Debian's emscripten and leaves the static site in build-web/
# (index.html with the page's and the program's scripts in it, lumera8.wasm, the puzzle collection, the help, sounds, pictures,
# icons, glyph atlases, manifest and service worker). Installs what it needs on Debian 12 when
# run as root. The CMake build itself lives in build-web-cmake/.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
site="${LUMERA_WEB_SITE_DIR:-$here/build-web}"
build="${LUMERA_WEB_BUILD_DIR:-$here/build-web-cmake}"
tests="${LUMERA_WEB_TESTS:-OFF}"

packages=(emscripten cmake ninja-build googletest nodejs)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
# A Node.js from another source satisfies emscripten as well as Debian's.
if command -v node >/dev/null 2>&1; then
  missing=("${missing[@]/nodejs}")
  read -r -a missing <<<"${missing[*]}"
fi
if [ ${#missing[@]} -gt 0 ]; then
  if [ "$(id -u)" -ne 0 ]; then
    echo "build-web.sh: missing packages (run as root to install them): ${missing[*]}" >&2
    exit 1
  fi
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq "${missing[@]}" >/dev/null
fi

# emscripten's tools are Node programs that need Debian's Node modules (acorn and others).
export NODE_PATH="/usr/share/nodejs${NODE_PATH:+:$NODE_PATH}"
jobs=$(( $(nproc) < 2 ? $(nproc) : 2 ))
# emcmake would name Node with a flag that today's Node refuses; the test suites run under the
# Node on the path as it is.
cmake -G Ninja -S "$here" -B "$build" -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE=/usr/share/emscripten/cmake/Modules/Platform/Emscripten.cmake \
  -DCMAKE_CROSSCOMPILING_EMULATOR="$(command -v node)" \
  -DLUMERA_WEB_SITE_DIR="$site" -DLUMERA_BUILD_TESTS="$tests" >/dev/null
cmake --build "$build" -j "$jobs"
echo "build-web.sh: the site is in $site"
