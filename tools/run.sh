#!/usr/bin/env bash
# Installs what is needed, builds the game and starts it in a folder that holds the
# puzzle collection and the help, both of which it finds by relative name.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
bash "$here/tools/install-deps.sh"
build="${LUMERA_BUILD_DIR:-$here/build}"
cmake -G Ninja -S "$here" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DLUMERA_BUILD_GUI=ON -DLUMERA_SANITIZE=OFF -DLUMERA_FUZZ=OFF
cmake --build "$build" -j "$(nproc)" --target lumera8
cd "$here/data"
exec "$build/src/startup/lumera8" "$@"
