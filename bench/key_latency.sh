#!/usr/bin/env bash
# Key to screen in a real window: three lines typed into tarnwick and into the minimal window
# (which feeds each key to the toolkit as it comes and draws every frame) by a typist at 60 and
# at 150 words a minute, each key going down before the one before comes up, and as a burst of
# taps 25 ms apart (as `xdotool type` sends them); capitals with Shift. The key probe, preloaded,
# logs for each character the frames swapped from its arrival up to the first that shows it,
# and the milliseconds between. Prints, per typist and program, the median, 99th percentile and
# worst, and tarnwick's ratio to the minimal window.
#
#   bench/key_latency.sh BUILD_DIR [RESULTS_FILE]
# Environment: RUNS (default 3); TYPISTS, a subset of "60 150 burst".
set -euo pipefail

build_dir=$(cd "${1:?usage: $0 BUILD_DIR [RESULTS_FILE]}" && pwd)
results=${2:-}
runs=${RUNS:-3}
# "|" is Enter: a line holds 31 bytes, and a key the full field refuses would show nothing.
readonly SENTENCE="Look at the dresser|Open the drawer|Take the key|"

source "$(dirname "$0")/../scripts/xvfb.sh"
StartScratchXvfb || { echo "key_latency: no usable X server" >&2; exit 1; }
mkdir "$WORK/run"
cp "$build_dir/Hack-Bold.ttf" "$build_dir/splash.png" "$WORK/run/"

# xdotool commands typing the sentence, a key every $1 seconds: each held into the next, or
# tapped (pressed and let go at once) with "tap" as $2.
TypistCommands() {
    local interval=$1 mode=${2:-} previous="" key i
    for ((i = 0; i < ${#SENTENCE}; i++)); do
        key=${SENTENCE:i:1}
        [ "$key" = " " ] && key=space
        [ "$key" = "|" ] && key=Return
        if [ "$mode" = tap ]; then
            printf 'key --delay 0 %s sleep %s ' "$key" "$interval"
            continue
        fi
        printf 'keydown %s sleep %s ' "$key" "$(awk -v t="$interval" 'BEGIN { print t / 3 }')"
        [ -n "$previous" ] && printf 'keyup %s ' "$previous"
        printf 'sleep %s ' "$(awk -v t="$interval" 'BEGIN { print t * 2 / 3 }')"
        previous=$key
    done
    [ -z "$previous" ] || printf 'keyup %s' "$previous"
    echo
}

RunOnce() {  # LOG PROGRAM INTERVAL [MODE]
    (cd "$WORK/run" && LD_PRELOAD="$build_dir/bench/libkey_probe.so" TARNWICK_KEY_LOG="$1" exec "$2") \
        > "$WORK/out.log" 2>&1 &
    local pid=$!
    local deadline=$((SECONDS + 20))
    until xdotool search --onlyvisible --name . > /dev/null 2>&1; do
        [ $SECONDS -lt $deadline ] || { echo "key_latency: no window" >&2; exit 1; }
        sleep 0.1
    done
    sleep 1
    xdotool keydown space sleep 0.1 keyup space  # past tarnwick's splash; not counted
    sleep 1
    # shellcheck disable=SC2046
    xdotool $(TypistCommands "$3" "${4:-}")
    sleep 1
    kill "$pid"  # the log is written as it goes
    wait "$pid" 2> /dev/null || true
}

# Median, 99th percentile and worst of column $1 of the files given, each without its first line
# (the space that skips the splash).
Stats() {  # COLUMN FILE...
    local column=$1
    shift
    awk -v c="$column" 'FNR > 1 { print $c }' "$@" | sort -g |
        awk '{ v[NR] = $1 } END { p = int(NR * 0.99 + 0.999); if (p < 1) p = 1
            printf "%s %s %s\n", v[int((NR + 1) / 2)], v[p], v[NR] }'
}

{
    echo "Key to screen: \"${SENTENCE//|/\\n}\" typed with overlapping presses, $runs runs each"
    printf '%-34s %24s %24s %8s\n' "" "tarnwick (median p99 max)" "minimal (median p99 max)" "ratio"
    for typist in "60 wpm:0.2" "150 wpm:0.08" "burst, 25 ms a key:0.025:tap"; do
        case " ${TYPISTS:-60 150 burst} " in *" ${typist%%[ ,]*} "*) ;; *) continue ;; esac
        IFS=: read -r _ interval mode <<< "$typist"
        for program in tarnwick minimal; do
            binary=$build_dir/tarnwick
            [ $program = minimal ] && binary=$build_dir/bench/minimal_window
            for run in $(seq "$runs"); do
                RunOnce "$WORK/$program-$interval-$run.log" "$binary" "$interval" "$mode"
            done
        done
        for measure in "frames:1" "ms:2"; do
            read -r tm tp tw < <(Stats "${measure#*:}" "$WORK"/tarnwick-"$interval"-*.log)
            read -r mm mp mw < <(Stats "${measure#*:}" "$WORK"/minimal-"$interval"-*.log)
            printf '%-34s %8s %7s %7s  %8s %7s %7s %7.2fx\n' "${typist%%:*}, key to screen, ${measure%%:*}" \
                "$tm" "$tp" "$tw" "$mm" "$mp" "$mw" "$(awk -v a="$tm" -v b="$mm" 'BEGIN { print (b > 0 ? a / b : 0) }')"
        done
    done
} | tee "$WORK/summary"
if [ -n "$results" ]; then cp "$WORK/summary" "$results"; fi
