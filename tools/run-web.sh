#!/usr/bin/env bash
# Builds the browser edition and serves its static site on http://127.0.0.1:8080/ (another
# port with LUMERA_WEB_PORT) until interrupted.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
site="${LUMERA_WEB_SITE_DIR:-$here/build-web}"
port="${LUMERA_WEB_PORT:-8080}"
bash "$here/tools/build-web.sh"
echo "Lumera 8.0 is served on http://127.0.0.1:$port/ (Ctrl+C stops it)"
exec python3 -m http.server "$port" --bind 127.0.0.1 --directory "$site"
