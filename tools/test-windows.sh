#!/usr/bin/env bash
# Builds the Windows program (tools/build-windows.sh) and runs its tests under Wine in Xvfb: a
# fresh Wine prefix for this run, one persistent wineserver, ctest in the build folder
# (tools/wine-session.sh; on machines that cannot run 32-bit programs, the 64-bit build).
# Extra arguments go to ctest (for example -R Registry).
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
wine_session_name=test-windows.sh
source "$here/tools/wine-session.sh"

# Now and then a Wine process dies at its start, before the test's own code runs (no output,
# a few hundredths of a second); a test that fails is therefore run once more, and a fault of
# ours still fails both times.
ctest --test-dir "$build" --output-on-failure --timeout 180 --repeat until-pass:2 -j "${LUMERA_JOBS:-2}" "$@" </dev/null
