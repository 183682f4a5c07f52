#!/usr/bin/env bash
# Builds the libFuzzer targets (clang, no GUI) and runs each for a bounded time, one after the
# other, starting from the committed seeds in fuzz/corpus/. Fails when any target crashes.
#   FUZZ_SECONDS          seconds per target (default 60)
#   FUZZ_TARGETS          the targets to run (default: all four)
#   LUMERA_FUZZ_BUILD_DIR build folder (default: build-fuzz/ in the source tree)
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build="${LUMERA_FUZZ_BUILD_DIR:-$here/build-fuzz}"
seconds="${FUZZ_SECONDS:-60}"
targets=(${FUZZ_TARGETS:-fuzz_puzzle_file fuzz_fit_to_grid fuzz_settings_record fuzz_registry_parser})
compiler=$(command -v clang++-14 || command -v clang++)

cmake -G Ninja -S "$here" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER="$compiler" \
  -DLUMERA_BUILD_GUI=OFF -DLUMERA_BUILD_TESTS=OFF -DLUMERA_FUZZ=ON >/dev/null
cmake --build "$build" -j "$(nproc)" --target "${targets[@]}"

export ASAN_OPTIONS="detect_leaks=1:${ASAN_OPTIONS:-}"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1:${UBSAN_OPTIONS:-}"
failed=()
for target in "${targets[@]}"; do
  # New inputs go to the build folder; the committed seeds are only read.
  corpus="$build/corpus/$target"
  artifacts="$build/artifacts"
  mkdir -p "$corpus" "$artifacts"
  log="$build/$target.log"
  echo "== $target: ${seconds}s"
  start=$(date +%s)
  if "$build/fuzz/$target" -max_total_time="$seconds" -timeout=30 -rss_limit_mb=2048 -print_final_stats=1 \
      -artifact_prefix="$artifacts/$target-" "$corpus" "$here/fuzz/corpus/$target" >"$log" 2>&1; then
    grep -E '^stat::number_of_executed_units|^Done ' "$log" | tr '\n' ' ' || true
    echo "($(($(date +%s) - start))s)"
  else
    echo "!! $target failed; the last lines of $log:"
    tail -n 40 "$log"
    failed+=("$target")
  fi
done
if [ ${#failed[@]} -gt 0 ]; then
  echo "fuzzing found crashes in: ${failed[*]} (inputs in $build/artifacts/)"
  exit 1
fi
echo "fuzzing: no crash in ${#targets[@]} targets"
