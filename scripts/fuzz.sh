#!/usr/bin/env bash
# Usage: scripts/fuzz.sh [SECONDS]
# Builds the libFuzzer programs of tests/fuzz with the clang Debian 12 ships
# (clang 14; AddressSanitizer and UndefinedBehaviorSanitizer on) in their own
# build folder, then runs every target for an equal share of SECONDS (600 when
# not given) and prints each target's execution count. The saved corpus in
# tests/fuzz/corpus seeds each run; new inputs go to the build folder, not into
# the repository. Exits 1 when a target found a crash, a hang or a broken
# property (input in BUILD/findings).
source "$(dirname "$0")/setup.sh"
vortalis_install_packages clang-14 libclang-rt-14-dev

TOTAL="${1:-600}"
[[ "$TOTAL" =~ ^[0-9]+$ ]] || { echo "usage: $0 [SECONDS]" >&2; exit 2; }
TARGETS=(parse_number fixed_text input_check command_line driver_file)
SHARE=$(( TOTAL / ${#TARGETS[@]} ))
(( SHARE > 0 )) || SHARE=1
BUILD="${VORTALIS_FUZZ_BUILD_DIR:-$VORTALIS_ROOT/build-fuzz}"
FUZZ_SOURCE="$VORTALIS_ROOT/tests/fuzz"

# The whole core is instrumented for coverage; only the fuzz programs link libFuzzer's main.
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S "$VORTALIS_ROOT" -B "$BUILD" -G Ninja "${launcher[@]}" \
  -DCMAKE_CXX_COMPILER=clang++-14 -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DVORTALIS_BUILD_GUI=OFF -DVORTALIS_BUILD_FUZZERS=ON \
  "-DCMAKE_CXX_FLAGS=-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer" \
  >/dev/null
cmake --build "$BUILD" -j "$(nproc)" --target "${TARGETS[@]/#/fuzz_}"

export ASAN_OPTIONS="halt_on_error=1:detect_leaks=1:print_stacktrace=1"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
failed=()
declare -A executions
for target in "${TARGETS[@]}"; do
  work="$BUILD/fuzz-corpus/$target"
  findings="$BUILD/findings/$target"
  log="$BUILD/fuzz-$target.log"
  mkdir -p "$work" "$findings"
  dict=()
  [ -f "$FUZZ_SOURCE/$target.dict" ] && dict=("-dict=$FUZZ_SOURCE/$target.dict")
  echo "== fuzz_$target for ${SHARE} s"
  status=0
  # New inputs go to the first folder; the saved corpus is only read.
  "$BUILD/tests/fuzz/fuzz_$target" "$work" "$FUZZ_SOURCE/corpus/$target" "${dict[@]}" \
    -max_total_time="$SHARE" -timeout=10 -rss_limit_mb=2048 -max_len=4096 \
    -print_final_stats=1 -artifact_prefix="$findings/" >"$log" 2>&1 || status=$?
  executions[$target]=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  if (( status != 0 )); then
    failed+=("$target")
    grep -E "ERROR|property failed|SUMMARY|Test unit written" "$log" | head -20 || true
  fi
done

echo
printf '%-14s %14s\n' target executions
for target in "${TARGETS[@]}"; do
  printf '%-14s %14s\n' "$target" "${executions[$target]:-?}"
done
if (( ${#failed[@]} > 0 )); then
  echo "Findings in: ${failed[*]} (inputs under $BUILD/findings, logs $BUILD/fuzz-*.log)" >&2
  exit 1
fi
echo "No findings."
