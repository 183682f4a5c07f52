#!/usr/bin/env bash
# Builds the game, the toolkit floor, the window driver and the benchmarks in Release, then
# measures the game against the floor (offscreen and under Xvfb) and prints one table; then the
# Windows program against its Win32 floor under Wine (tools/perf-windows.sh).
# Extra arguments go to bench/perf_harness.py (for example --runs 20).
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
bash "$here/tools/install-deps.sh"
build="${LUMERA_PERF_BUILD_DIR:-$here/build-perf}"
cmake -G Ninja -S "$here" -B "$build" -DCMAKE_BUILD_TYPE=Release -DLUMERA_BUILD_GUI=ON -DLUMERA_SANITIZE=OFF -DLUMERA_FUZZ=OFF
cmake --build "$build" -j "$(nproc)" --target lumera8 lumera_floor lumera_perf_window lumera_bench
/usr/bin/python3 "$here/bench/perf_harness.py" --build "$build" --data "$here/data" "$@"
# The Windows program under Wine against its Win32 floor (LUMERA_PERF_WINDOWS=0 leaves it out).
if [ "${LUMERA_PERF_WINDOWS:-1}" != 0 ]; then
  bash "$here/tools/perf-windows.sh"
fi
