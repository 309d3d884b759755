#!/usr/bin/env bash
# Everything `make bench` runs, on a build configured with -DTARNWICK_BENCH=ON: the Google
# Benchmark suite (with the frame-cost series and its plot), then the whole-program comparison
# with the minimal window under Xvfb. Results go to BUILD_DIR/bench-results.
#   bench/run_benchmarks.sh BUILD_DIR
set -euo pipefail

build_dir=${1:?usage: $0 BUILD_DIR}
here=$(cd "$(dirname "$0")" && pwd)
results=$build_dir/bench-results
mkdir -p "$results"

"$build_dir/bench/tarnwick_bench" --benchmark_repetitions=3 \
    --benchmark_display_aggregates_only=true --frame_cost_data="$results/frame_cost.dat"
"$here/plot_frame_cost.sh" "$results/frame_cost.dat" "$results/frame_cost.png"
echo
"$here/window_bench.sh" "$build_dir" "$results/window.txt"
echo
"$here/key_latency.sh" "$build_dir" "$results/keys.txt"
echo
"$build_dir/bench/terminal_bench" | tee "$results/terminal.txt"
echo
echo "Results in $results"
