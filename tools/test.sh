#!/usr/bin/env bash
# Installs what is needed, builds everything and runs the whole test suite headless.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
bash "$here/tools/install-deps.sh"
build="${LUMERA_BUILD_DIR:-$here/build}"
cmake -G Ninja -S "$here" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DLUMERA_BUILD_GUI=ON -DLUMERA_SANITIZE=OFF -DLUMERA_FUZZ=OFF
cmake --build "$build" -j "$(nproc)"
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$build" --output-on-failure -j "$(nproc)"
# The browser edition: its suites under Node, a player's run in headless Chromium.
bash "$here/tools/test-web.sh"
# The Windows program: cross-built, its tests run under Wine in Xvfb.
bash "$here/tools/test-windows.sh"
bash "$here/tools/sanitize.sh"
bash "$here/tools/fuzz.sh"
