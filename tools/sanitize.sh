#!/usr/bin/env bash
# Builds everything, the GUI included, a second time with AddressSanitizer and UBSan (g++) and
# runs the whole test suite under them, leak checking on. Any sanitizer report fails the run,
# also one from a child process whose exit status a test does not look at.
#   LUMERA_ASAN_BUILD_DIR build folder (default: build-asan/ in the source tree)
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build="${LUMERA_ASAN_BUILD_DIR:-$here/build-asan}"

cmake -G Ninja -S "$here" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=g++ \
  -DLUMERA_BUILD_GUI=ON -DLUMERA_SANITIZE=ON >/dev/null
cmake --build "$build" -j "$(nproc)"

reports="$build/sanitizer-reports"
rm -rf "$reports"
mkdir -p "$reports"
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS="detect_leaks=1:log_path=$reports/asan"
export LSAN_OPTIONS="suppressions=$here/tools/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1:log_path=$reports/ubsan"
status=0
ctest --test-dir "$build" --output-on-failure -j "$(nproc)" || status=1
if [ -n "$(ls -A "$reports")" ]; then
  echo "sanitizer reports:"
  for report in "$reports"/*; do
    echo "---- $report"
    cat "$report"
  done
  status=1
fi
[ $status -eq 0 ] && echo "sanitizers: the whole suite ran clean"
exit $status
