#!/usr/bin/env bash
# Whole-program benchmark in a real window: tarnwick against the minimal window (same toolkit,
# font and window size, one empty GUI window), each started RUNS times in turn under a private
# Xvfb. The swap probe, preloaded into both, reports per run: the wall and CPU time from launch
# to the first buffer swap, the frames and CPU time over FOR seconds starting FROM seconds after
# that swap (tarnwick's splash is over by then, so this is its console phase), and the peak
# resident memory. Prints the medians and tarnwick's ratios to the minimal window.
#
#   bench/window_bench.sh BUILD_DIR [RESULTS_FILE]
# Environment: RUNS (default 5), FROM (default 5), FOR (default 5), seconds.
set -euo pipefail

build_dir=$(cd "${1:?usage: $0 BUILD_DIR [RESULTS_FILE]}" && pwd)
results=${2:-}
runs=${RUNS:-5}
count_from=${FROM:-5}
count_for=${FOR:-5}
run_limit=$((count_from + count_for + 30))

tarnwick=$build_dir/tarnwick
minimal=$build_dir/bench/minimal_window
probe=$build_dir/bench/libswap_probe.so
for file in "$tarnwick" "$minimal" "$probe" "$build_dir/Hack-Bold.ttf" "$build_dir/splash.png"; do
    if [ ! -e "$file" ]; then
        echo "window_bench: $file is missing; build with -DTARNWICK_BENCH=ON first" >&2
        exit 1
    fi
done

source "$(dirname "$0")/../scripts/xvfb.sh"
work=$(mktemp -d)
Cleanup() {
    StopPrivateXvfb
    rm -rf "$work"
}
trap Cleanup EXIT

StartPrivateXvfb "$work" || { echo "window_bench: no usable X server" >&2; exit 1; }

# Both programs read their files from the working directory, and the game writes imgui.ini
# there; every run starts from the same files.
mkdir "$work/run"
cp "$build_dir/Hack-Bold.ttf" "$build_dir/splash.png" "$work/run/"

# Runs one program once; appends its name and the probe's figures to the runs file.
RunOnce() {
    local name=$1 program=$2 report="$work/report"
    rm -f "$report" "$work/run/imgui.ini"
    (
        cd "$work/run"
        export LD_PRELOAD=$probe TARNWICK_PROBE_REPORT=$report
        export TARNWICK_PROBE_FROM=$count_from TARNWICK_PROBE_FOR=$count_for
        TARNWICK_PROBE_START_US=${EPOCHREALTIME/./} exec "$program"
    ) >"$work/out.log" 2>&1 &
    local pid=$! waited=0
    while kill -0 "$pid" 2>/dev/null && [ "$waited" -lt $((run_limit * 10)) ]; do
        sleep 0.1
        waited=$((waited + 1))
    done
    if kill -0 "$pid" 2>/dev/null; then
        kill "$pid"
        echo "window_bench: $name did not finish within ${run_limit}s" >&2
    fi
    local status=0
    wait "$pid" || status=$?
    if [ "$status" -ne 0 ] || [ ! -s "$report" ]; then
        echo "window_bench: $name failed (exit status $status):" >&2
        cat "$work/out.log" >&2
        exit 1
    fi
    # "key=value ..." to the bare values.
    echo "$name $(sed 's/[a-z_]*=//g' "$report")" >>"$work/runs"
}

echo "Whole-program benchmark: $runs runs each, counting frames from ${count_from}s to" \
    "$((count_from + count_for))s after the first swap, on $DISPLAY"
: >"$work/runs"
for run in $(seq "$runs"); do
    RunOnce tarnwick "$tarnwick"
    RunOnce minimal "$minimal"
    echo "  run $run of $runs done" >&2
done

# Median over one program's runs of column $2: 2 first swap ms, 3 CPU ms to the first swap,
# 4 frames, 5 CPU ms, 6 wall ms, 7 peak KiB; derived: 8 CPU ms per frame, 9 frames per second,
# 10 peak MiB.
Median() {
    awk -v name="$1" -v column="$2" '
        $1 == name { $8 = $5 / $4; $9 = $4 * 1000 / $6; $10 = $7 / 1024; print $column }' \
        "$work/runs" |
        sort -g |
        awk '{ v[NR] = $1 }
             END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

{
    echo "Runs (program, first swap ms, CPU ms to it, frames, CPU ms, wall ms, peak RSS KiB):"
    sed 's/^/  /' "$work/runs"
    echo
    printf '%-28s %14s %14s %8s\n' "median of $runs runs" "tarnwick" "minimal" "ratio"
    for row in "first swap, ms:2" "CPU time to first swap, ms:3" "CPU per frame, ms:8" \
        "frames per second:9" "peak RSS, MiB:10"; do
        column=${row##*:}
        awk -v label="${row%%:*}" -v game="$(Median tarnwick "$column")" \
            -v base="$(Median minimal "$column")" \
            'BEGIN { printf "%-28s %14.3f %14.3f %7.3fx\n", label, game, base, game / base }'
    done
} | tee "$work/summary"

if [ -n "$results" ]; then cp "$work/summary" "$results"; fi
