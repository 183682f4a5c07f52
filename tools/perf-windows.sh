#!/usr/bin/env bash
# Start-up of lumera8.exe against the Win32 floor program under Wine, side by side under one
# warm wineserver, and the size of the shipped 32-bit lumera8.exe (bench/perf_windows.py).
# Builds in Release (tools/build-windows.sh); extra arguments go to the harness (--runs 20).
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
wine_session_name=perf-windows.sh
export LUMERA_WINDOWS_BUILD_TYPE=Release
source "$here/tools/wine-session.sh"

/usr/bin/python3 "$here/bench/perf_windows.py" --wine "$wine" --exe "$build/lumera8.exe" \
  --floor "$build/lumera_floor_win32.exe" --floor-imports "$build/lumera_floor_imports_win32.exe" --shipped-exe "$here/build-windows/lumera8.exe" \
  --data "$here/data" --label "($WINEARCH prefix, $(basename "$build"))" "$@"
