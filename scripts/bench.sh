#!/usr/bin/env bash
# Builds the benchmarks in Release in their own folder and prints one table of
# every figure. VORTALIS_BENCH_DIR chooses the folder (default build-bench/),
# VORTALIS_BENCH_RUNS the runs per figure (default 5; the table quotes medians),
# VORTALIS_BENCH_BIG_RUNS the runs of the 2.4M-line report in the window (default 3).
source "$(dirname "$0")/setup.sh"
vortalis_install_packages
BUILD="${VORTALIS_BENCH_DIR:-$VORTALIS_ROOT/build-bench}"
RUNS="${VORTALIS_BENCH_RUNS:-5}"

launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S "$VORTALIS_ROOT" -B "$BUILD" -G Ninja "${launcher[@]}" -DCMAKE_BUILD_TYPE=Release \
  -DVORTALIS_BUILD_TESTS=OFF -DVORTALIS_BUILD_BENCH=ON >/dev/null
targets=(vortalis-report vortalis-bench-core vortalis-bench-response)
window=0
if [ -n "$(cmake --build "$BUILD" --target help | grep -w vortalis-bench-window)" ]; then
  targets+=(vortalis-bench-window)
  window=1
fi
cmake --build "$BUILD" --target "${targets[@]}" -j "$(nproc)" >/dev/null

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

echo "Vortalis benchmarks: $(date '+%Y-%m-%d %H:%M'), $(nproc) cores," \
  "$(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ *//'), $RUNS runs a figure;" \
  "load average before: $(cut -d' ' -f1-3 /proc/loadavg)"
echo
echo "| what | median | runs, range, details | target | verdict |"
echo "|---|---|---|---|---|"
status=0
"$BUILD/bench/vortalis-bench-core" --tool "$BUILD/cli/vortalis-report" --runs "$RUNS" \
  --output-dir "$work" 2>"$work/core.log" || { status=1; cat "$work/core.log" >&2; }
"$BUILD/bench/vortalis-bench-response" --runs "$RUNS" || status=1
if [ "$window" = 1 ]; then
  # The largest valid table, for the window rows to compare their saved file with.
  "$BUILD/cli/vortalis-report" circular --freq 1 --throat 0.0197 --unit inch --increment 0.01 \
    --output "$work/vortalis-bench-largest.txt" || status=1
  QT_QPA_PLATFORM=offscreen "$BUILD/bench/vortalis-bench-window" --runs "$RUNS" \
    --big-runs "${VORTALIS_BENCH_BIG_RUNS:-3}" --reference "$work/vortalis-bench-circular.txt" \
    --big-reference "$work/vortalis-bench-largest.txt" --output-dir "$work" \
    2>"$work/window.log" || { status=1; cat "$work/window.log" >&2; }
  rm -f "$work/vortalis-bench-largest.txt"
else
  echo "| window program rows | not built (no Qt 6 Widgets) | | | |"
fi
echo
echo "Load average after: $(cut -d' ' -f1-3 /proc/loadavg)." \
  "CPU times are user + system of the process; wall times depend on the load."
exit "$status"
