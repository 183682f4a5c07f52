#!/usr/bin/env bash
# The browser edition's tests: the engine's, the window layer's and the page-side suites built
# with em++ and run under Node, then a player's end-to-end run in Debian's Chromium (headless)
# over a local server, its board compared with the Qt board's cells from the Linux build.
# Installs what it needs on Debian 12 when run as root (emscripten, chromium; puppeteer-core
# from the npm registry with npm ci).
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
linux_build="${LUMERA_BUILD_DIR:-$here/build}"
web_build="${LUMERA_WEB_BUILD_DIR:-$here/build-web-cmake}"
site="${LUMERA_WEB_SITE_DIR:-$here/build-web}"

LUMERA_WEB_TESTS=ON LUMERA_WEB_BUILD_DIR="$web_build" LUMERA_WEB_SITE_DIR="$site" bash "$here/tools/build-web.sh"
ctest --test-dir "$web_build" --output-on-failure -j 2

if ! command -v chromium >/dev/null 2>&1; then
  if [ "$(id -u)" -ne 0 ]; then
    echo "test-web.sh: chromium is missing (run as root to install it)" >&2
    exit 1
  fi
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq chromium >/dev/null
fi

# The Qt board's cells, drawn by the desktop's own board widget.
cmake --build "$linux_build" --target web_reference_cells
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
QT_QPA_PLATFORM=offscreen "$linux_build/tests/web/web_reference_cells" "$work/cells.json"
QT_QPA_PLATFORM=offscreen QT_SCALE_FACTOR=2 "$linux_build/tests/web/web_reference_cells" "$work/cells-2.json"

cd "$here/tests/web"
npm ci --no-audit --no-fund --loglevel=error
LUMERA_WEB_SITE="$site" LUMERA_WEB_REFERENCE="$work/cells.json" LUMERA_WEB_REFERENCE_2="$work/cells-2.json" \
  node --test e2e.test.js
