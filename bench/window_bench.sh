#!/usr/bin/env bash
# Whole-program benchmark in a real window: tarnwick against the minimal window (same toolkit,
# font and window size, one empty GUI window), each started RUNS times in turn under a private
# Xvfb, in these stretches of time:
#   console  FROM to FROM + FOR seconds after the first swap: tarnwick's splash is over and its
#            console waits for a command; tarnwick also runs at --scale 2 (tarnwick-x2)
#   splash   0.5 to 3.5 seconds after the first swap: tarnwick shows its splash
#   typing   as console, with text typed into the window all along (xdotool)
#   reading  tarnwick alone, 2 to 47 s after the first swap, splash skipped and focus away (no
#            caret blinks): only the welcome's reminders come, at 20, 35 and 45 s of game time
#   resting  tarnwick alone, 14 to 30 s after the first swap, splash skipped and a key typed at
#            about 1.3 s, focus kept: the caret rests 10 s after that key, and only the welcome's
#            reminder at 20 s comes
# The swap probe, preloaded into both, reports per run: the wall and CPU time from launch to the
# first buffer swap, the frames, CPU time, wake-ups and context switches over the stretch, how
# late the timed frames came, and the peak resident memory. Prints the medians and tarnwick's
# ratios to the minimal window (tarnwick-x2's to tarnwick).
#
#   bench/window_bench.sh BUILD_DIR [RESULTS_FILE]
# Environment: RUNS (default 5), FROM (default 5), FOR (default 5), seconds; STRETCHES (default
# "console splash typing reading resting"); NICENESS (default 0), added to the nice value both
# programs run at: the kernel lets a niced program's timed waits end five times as late.
set -euo pipefail

build_dir=$(cd "${1:?usage: $0 BUILD_DIR [RESULTS_FILE]}" && pwd)
results=${2:-}
runs=${RUNS:-5}
count_from=${FROM:-5}
count_for=${FOR:-5}
stretches=${STRETCHES:-console splash typing reading resting}
niceness=${NICENESS:-0}
run_limit=$((count_from + count_for + 60))

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

# Room for the window at scale 2.
StartScratchXvfb -screen 0 2560x1600x24 || { echo "window_bench: no usable X server" >&2; exit 1; }

# Both programs read their files from the working directory.
mkdir "$WORK/run"
cp "$build_dir/Hack-Bold.ttf" "$build_dir/splash.png" "$WORK/run/"

# Types a few words and rubs them out again, 20 keys a second, until killed.
TypeAlong() {
    sleep "$1"
    while true; do
        xdotool key --delay 50 l o o k space a r o u n d BackSpace BackSpace BackSpace BackSpace \
            BackSpace BackSpace BackSpace BackSpace BackSpace BackSpace BackSpace 2>/dev/null ||
            sleep 0.1
    done
}

# Runs one program once in one stretch; appends the stretch, the program's name and the probe's
# figures to the runs file.
RunOnce() {  # STRETCH NAME PROGRAM [ARGUMENT...]
    local stretch=$1 name=$2 report="$WORK/report" from=$count_from for=$count_for helper=""
    shift 2
    [ "$stretch" = splash ] && from=0.5 for=3
    [ "$stretch" = reading ] && from=2 for=45
    [ "$stretch" = resting ] && from=14 for=16
    rm -f "$report"
    (
        cd "$WORK/run"
        export LD_PRELOAD=$probe TARNWICK_PROBE_REPORT=$report
        export TARNWICK_PROBE_FROM=$from TARNWICK_PROBE_FOR=$for
        TARNWICK_PROBE_START_US=${EPOCHREALTIME/./} exec nice -n "$niceness" "$@"
    ) >"$WORK/out.log" 2>&1 &
    local pid=$! waited=0
    if [ "$stretch" = typing ]; then
        # From a little before the stretch, once the window (and the console) is up.
        TypeAlong "$(awk -v from="$from" 'BEGIN { print from - 0.5 }')" &
        helper=$!
    elif [ "$stretch" = resting ]; then
        xdotool sleep 1 key space sleep 0.3 key x &
        helper=$!
    elif [ "$stretch" = reading ]; then
        # Skips the splash, then gives the focus to the screen, as a player turning elsewhere.
        xdotool sleep 1 key space sleep 0.3 windowfocus "$(xwininfo -root | awk '/Window id:/ { print $4 }')" &
        helper=$!
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
    if [ -n "$helper" ]; then
        kill "$helper" 2>/dev/null || true
        wait "$helper" 2>/dev/null || true
    fi
    if [ "$status" -ne 0 ] || [ ! -s "$report" ]; then
        echo "window_bench: $name failed (exit status $status):" >&2
        cat "$WORK/out.log" >&2
        exit 1
    fi
    # "key=value ..." to the bare values.
    echo "$stretch $name $(sed 's/[a-z_]*=//g' "$report")" >>"$WORK/runs"
}

echo "Whole-program benchmark: $runs runs each of the stretches $stretches (console:" \
    "${count_from}s to $((count_from + count_for))s after the first swap), at nice $niceness," \
    "on $DISPLAY"
: >"$WORK/runs"
for run in $(seq "$runs"); do
    for stretch in $stretches; do
        RunOnce "$stretch" tarnwick "$tarnwick"
        [ "$stretch" = reading ] || [ "$stretch" = resting ] && continue
        RunOnce "$stretch" minimal "$minimal"
        [ "$stretch" = console ] && RunOnce "$stretch" tarnwick-x2 "$tarnwick" --scale 2
    done
    echo "  run $run of $runs done" >&2
done

# Median over one program's runs in one stretch of column $3: 3 first swap ms, 4 CPU ms to the
# first swap, 5 frames, 6 CPU ms, 7 wall ms, 8 peak KiB, 9 wake-ups, 10 context switches, 11
# timed frames, 12 most late ms, 13 mean late ms, 14 of which the wait's own lateness, 15 of
# which the wake's work, 16 that work's main-thread CPU ms, 17 waits to their time-out, 18 and
# 19 their most and mean overshoot ms; derived: 20 CPU ms per drawn frame, 21 frames per second,
# 22 peak MiB, 23 CPU time in % of one core, 24 wake-ups a second beyond the drawn frames, 25
# context switches a second.
Median() {
    awk -v stretch="$1" -v name="$2" -v column="$3" '
        $1 == stretch && $2 == name {
            $20 = $5 > 0 ? $6 / $5 : 0; $21 = $5 * 1000 / $7; $22 = $8 / 1024; $23 = 100 * $6 / $7
            $24 = ($9 - $5) * 1000 / $7; $25 = $10 * 1000 / $7
            print $column
        }' "$WORK/runs" |
        sort -g |
        awk '{ v[NR] = $1 }
             END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

{
    echo "Runs (stretch, program, first swap ms, CPU ms to it, frames, CPU ms, wall ms, peak RSS KiB,"
    echo "wake-ups, context switches, timed frames, most late ms, mean late ms, of which the wait's"
    echo "ms and the work's ms, the work's main-thread CPU ms, waits to their time-out, their most"
    echo "and mean overshoot ms):"
    sed 's/^/  /' "$WORK/runs"
    echo
    printf '%-52s %12s %12s %8s\n' "median of $runs runs" "program" "compared" "ratio"
    # label|stretch|column[|program (tarnwick)|compared with (minimal; -: nothing)]
    c="console waiting:" r="reading, no focus:" z="resting caret, focus:" x2="tarnwick-x2|tarnwick"
    for row in "first swap, ms|console|3" "CPU time to first swap, ms|console|4" \
        "peak RSS, MiB|console|22" "scale 2: first swap, ms (against scale 1)|console|3|$x2" \
        "scale 2: peak RSS, MiB (against scale 1)|console|22|$x2" \
        "$c CPU, % of one core|console|23" "$c frames per second|console|21" \
        "$c wake-ups/s beyond frames|console|24" "$c context switches/s|console|25" \
        "splash showing: CPU, % of one core|splash|23" "splash showing: frames per second|splash|21" \
        "typing: CPU per drawn frame, ms|typing|20" "typing: frames per second|typing|21" \
        "$r CPU, % of one core|reading|23||-" "$r wake-ups/s beyond frames|reading|24||-" \
        "$r context switches/s|reading|25||-" "$r timed texts drawn|reading|11||-" \
        "$r most late, ms|reading|12||-" "$r mean late, ms|reading|13||-" \
        "$r  of which the wait, ms|reading|14||-" "$r  of which the work, ms|reading|15||-" \
        "$r  the work's main-thread CPU, ms|reading|16||-" \
        "$r waits' most overshoot, ms|reading|18||-" \
        "$z CPU, % of one core|resting|23||-" "$z wake-ups/s beyond frames|resting|24||-" \
        "$z frames drawn|resting|5||-" "$z timed texts drawn|resting|11||-"; do
        IFS='|' read -r label stretch column name base <<<"$row"
        case " $stretches " in *" $stretch "*) ;; *) continue ;; esac
        game=$(Median "$stretch" "${name:-tarnwick}" "$column")
        [ "${base:=minimal}" = - ] || base=$(Median "$stretch" "$base" "$column")
        awk -v label="$label" -v game="$game" -v base="$base" 'BEGIN {
            if (base == "-") printf "%-52s %12.3f %12s %8s\n", label, game, "-", "-"
            else printf "%-52s %12.3f %12.3f %7.3fx\n", label, game, base, (base > 0 ? game / base : 0)
        }'
    done
} | tee "$WORK/summary"

if [ -n "$results" ]; then cp "$WORK/summary" "$results"; fi
