#!/usr/bin/env bash
# Whole-program benchmark in a real window: tarnwick against the minimal window (same toolkit,
# font and window size, one empty GUI window), each started RUNS times in turn under a private
# Xvfb, in three stretches of time:
#   console  FROM to FROM + FOR seconds after the first swap: tarnwick's splash is over and its
#            console waits for a command
#   splash   0.5 to 3.5 seconds after the first swap: tarnwick shows its splash
#   typing   as console, with text typed into the window all along (xdotool)
# The swap probe, preloaded into both, reports per run: the wall and CPU time from launch to the
# first buffer swap, the frames drawn and the CPU time over the stretch, and the peak resident
# memory. Prints the medians and tarnwick's ratios to the minimal window.
#
#   bench/window_bench.sh BUILD_DIR [RESULTS_FILE]
# Environment: RUNS (default 5), FROM (default 5), FOR (default 5), seconds; STRETCHES (default
# "console splash typing").
set -euo pipefail

build_dir=$(cd "${1:?usage: $0 BUILD_DIR [RESULTS_FILE]}" && pwd)
results=${2:-}
runs=${RUNS:-5}
count_from=${FROM:-5}
count_for=${FOR:-5}
stretches=${STRETCHES:-console splash typing}
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

# Types a few words and rubs them out again, 20 keys a second, until killed.
TypeAlong() {
    sleep "$1"
    while true; do
        xdotool key --delay 50 l o o k space a r o u n d BackSpace BackSpace BackSpace BackSpace \
            BackSpace BackSpace BackSpace BackSpace BackSpace BackSpace BackSpace 2>/dev/null ||
            sleep 0.1
    done
}

# Runs one program once in one stretch; appends the stretch, the program's name and the
# probe's figures to the runs file.
RunOnce() {
    local stretch=$1 name=$2 program=$3 report="$work/report" from=$count_from for=$count_for
    local typist=""
    [ "$stretch" = splash ] && from=0.5 for=3
    rm -f "$report" "$work/run/imgui.ini"
    (
        cd "$work/run"
        export LD_PRELOAD=$probe TARNWICK_PROBE_REPORT=$report
        export TARNWICK_PROBE_FROM=$from TARNWICK_PROBE_FOR=$for
        TARNWICK_PROBE_START_US=${EPOCHREALTIME/./} exec "$program"
    ) >"$work/out.log" 2>&1 &
    local pid=$! waited=0
    if [ "$stretch" = typing ]; then
        # From a little before the stretch, once the window (and the console) is up.
        TypeAlong "$(awk -v from="$from" 'BEGIN { print from - 0.5 }')" &
        typist=$!
    fi
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
    if [ -n "$typist" ]; then
        kill "$typist" 2>/dev/null || true
        wait "$typist" 2>/dev/null || true
    fi
    if [ "$status" -ne 0 ] || [ ! -s "$report" ]; then
        echo "window_bench: $name failed (exit status $status):" >&2
        cat "$work/out.log" >&2
        exit 1
    fi
    # "key=value ..." to the bare values.
    echo "$stretch $name $(sed 's/[a-z_]*=//g' "$report")" >>"$work/runs"
}

echo "Whole-program benchmark: $runs runs each of three stretches (console: ${count_from}s to" \
    "$((count_from + count_for))s after the first swap; splash; typing), on $DISPLAY"
: >"$work/runs"
for run in $(seq "$runs"); do
    for stretch in $stretches; do
        RunOnce "$stretch" tarnwick "$tarnwick"
        RunOnce "$stretch" minimal "$minimal"
    done
    echo "  run $run of $runs done" >&2
done

# Median over one program's runs in one stretch of column $3: 3 first swap ms, 4 CPU ms to the
# first swap, 5 frames, 6 CPU ms, 7 wall ms, 8 peak KiB; derived: 9 CPU ms per drawn frame,
# 10 frames per second, 11 peak MiB, 12 CPU time in % of one core.
Median() {
    awk -v stretch="$1" -v name="$2" -v column="$3" '
        $1 == stretch && $2 == name {
            $9 = $5 > 0 ? $6 / $5 : 0; $10 = $5 * 1000 / $7; $11 = $8 / 1024; $12 = 100 * $6 / $7
            print $column
        }' "$work/runs" |
        sort -g |
        awk '{ v[NR] = $1 }
             END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

{
    echo "Runs (stretch, program, first swap ms, CPU ms to it, frames, CPU ms, wall ms, peak RSS KiB):"
    sed 's/^/  /' "$work/runs"
    echo
    printf '%-40s %12s %12s %8s\n' "median of $runs runs" "tarnwick" "minimal" "ratio"
    for row in "first swap, ms|console|3" "CPU time to first swap, ms|console|4" \
        "peak RSS, MiB|console|11" "console waiting: CPU, % of one core|console|12" \
        "console waiting: frames per second|console|10" \
        "splash showing: CPU, % of one core|splash|12" \
        "splash showing: frames per second|splash|10" \
        "typing: CPU per drawn frame, ms|typing|9" "typing: frames per second|typing|10"; do
        IFS='|' read -r label stretch column <<<"$row"
        awk -v label="$label" -v game="$(Median "$stretch" tarnwick "$column")" \
            -v base="$(Median "$stretch" minimal "$column")" \
            'BEGIN { printf "%-40s %12.3f %12.3f %7.3fx\n", label, game, base, (base > 0 ? game / base : 0) }'
    done
} | tee "$work/summary"

if [ -n "$results" ]; then cp "$work/summary" "$results"; fi
