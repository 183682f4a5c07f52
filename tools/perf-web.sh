#!/usr/bin/env bash
# The browser edition's benchmark (docs/PERFORMANCE.md): the compressed size of the page (with
# the program's script in it) and lumera8.wasm, and the first board painted against a bare page that instantiates a trivial
# .wasm and paints one canvas, interleaved in headless Chromium (bench/web/first_paint.js).
# Extra arguments: the number of runs (15).
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
site="${LUMERA_WEB_SITE_DIR:-$here/build-web}"
floor="${LUMERA_WEB_FLOOR_DIR:-$here/build-web-floor}"
bash "$here/tools/build-web.sh" >/dev/null
export NODE_PATH="/usr/share/nodejs${NODE_PATH:+:$NODE_PATH}"
mkdir -p "$floor"
emcc -O2 --no-entry -sSTANDALONE_WASM -sEXPORTED_FUNCTIONS=_floor_value "$here/bench/web/floor.c" -o "$floor/floor.wasm"
cp "$here/bench/web/floor.html" "$floor/index.html"
(cd "$here/tests/web" && npm ci --no-audit --no-fund --loglevel=error)
node "$here/bench/web/first_paint.js" "$site" "$floor" "$@"
