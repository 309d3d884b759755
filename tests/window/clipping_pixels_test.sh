#!/usr/bin/env bash
# Drawing only the rows of the log in view shows exactly the pixels of drawing every row: a
# short log, a long log scrolled to its end, and the long log scrolled back up with the mouse
# wheel, each shown by bench/log_drawing_window both ways in a real window under Xvfb and
# compared screenshot for screenshot.
#   clipping_pixels_test.sh LOG_DRAWING_WINDOW FONT ARTIFACT_DIR
set -euo pipefail

if [ $# -ne 3 ]; then
    echo "usage: $0 LOG_DRAWING_WINDOW FONT ARTIFACT_DIR" >&2
    exit 2
fi
PROGRAM=$1
FONT=$2
ARTIFACTS=$3
source "$(dirname "$0")/../../scripts/xvfb.sh"
readonly WINDOW_TITLE="Log drawing"
readonly WHEEL_NOTCHES=4

for tool in Xvfb xdotool import compare identify; do
    if ! command -v "$tool" > /dev/null; then
        echo "missing tool: $tool (scripts/install-deps.sh)" >&2
        exit 1
    fi
done

mkdir -p "$ARTIFACTS"
rm -f "$ARTIFACTS"/*.png
WORK=$(mktemp -d "${TMPDIR:-/tmp}/tarnwick-clipping.XXXXXX")
PROGRAM_PID=""
PASSED=0

StopProgram() {
    if [ -n "$PROGRAM_PID" ]; then
        kill "$PROGRAM_PID" 2> /dev/null || true
        wait "$PROGRAM_PID" 2> /dev/null || true
        PROGRAM_PID=""
    fi
}

Cleanup() {
    StopProgram
    StopPrivateXvfb
    rm -rf "$WORK"
}
trap Cleanup EXIT
trap 'exit 130' INT TERM

Fail() {
    echo "clipping_pixels: FAIL: $*" >&2
    [ -f "$WORK/program.log" ] && cat "$WORK/program.log" >&2
    echo "clipping_pixels: screenshots in $ARTIFACTS" >&2
    echo "$PASSED passed, 1 failed"
    exit 1
}

Pass() {
    PASSED=$((PASSED + 1))
    echo "ok $PASSED - $*"
}

# Screenshots every 0.2 s into $1 until two in a row are the same (the window has settled).
ShotWhenSteady() {
    local deadline=$(( $(NowMs) + FIRST_START_MS ))
    import -window root "$WORK/previous.png"
    while true; do
        sleep 0.2
        import -window root "$1"
        compare -metric AE "$1" "$WORK/previous.png" null: 2> /dev/null && return 0
        [ "$(NowMs)" -lt "$deadline" ] || Fail "the window did not settle"
        cp "$1" "$WORK/previous.png"
    done
}

# Pixels that differ between two screenshots.
Difference() {
    local count
    count=$(compare -metric AE "$1" "$2" null: 2>&1) || true
    echo "${count%% *}"
}

StartPrivateXvfb "$WORK" || Fail "no usable X server"

# Shows log $2 drawn the way $1 says and takes its screenshots: $2-$1-end.png, and for the long
# log also $2-$1-scrolled.png after turning the wheel up over the log.
ShowLog() {
    local drawing=$1 log=$2 window="" deadline
    "$PROGRAM" "$drawing" "$log" "$FONT" > "$WORK/program.log" 2>&1 &
    PROGRAM_PID=$!
    deadline=$(( $(NowMs) + FIRST_START_MS ))
    while true; do
        window=$(xdotool search --onlyvisible --name "^$WINDOW_TITLE\$" 2> /dev/null | head -n 1) ||
            true
        [ -n "$window" ] && break
        kill -0 "$PROGRAM_PID" 2> /dev/null ||
            Fail "$drawing/$log: the program ended before its window showed"
        [ "$(NowMs)" -lt "$deadline" ] || Fail "$drawing/$log: no window showed"
        sleep 0.05
    done
    xdotool mousemove --window "$window" 640 300
    ShotWhenSteady "$WORK/$log-$drawing-end.png"
    if [ "$log" = long ]; then
        xdotool click --repeat "$WHEEL_NOTCHES" --delay 50 4
        sleep 0.5
        ShotWhenSteady "$WORK/$log-$drawing-scrolled.png"
    fi
    StopProgram
}

for log in short long; do
    for drawing in every visible; do
        ShowLog "$drawing" "$log"
    done
done
cp "$WORK"/*-end.png "$WORK"/*-scrolled.png "$ARTIFACTS/"

# The comparisons below mean something only if the logs show text and the wheel moved one.
for shot in short-every-end long-every-end long-every-scrolled; do
    colours=$(identify -format %k "$WORK/$shot.png")
    [ "$colours" -gt 20 ] || Fail "$shot shows only $colours colours: no text"
done
[ "$(Difference "$WORK/short-every-end.png" "$WORK/long-every-end.png")" -gt 1000 ] ||
    Fail "the short and the long log look alike"
[ "$(Difference "$WORK/long-every-end.png" "$WORK/long-every-scrolled.png")" -gt 1000 ] ||
    Fail "the wheel did not scroll the long log"
Pass "both logs show text, and the wheel scrolls the long one"

for shot in short-%s-end long-%s-end long-%s-scrolled; do
    # shellcheck disable=SC2059
    every=$(printf "$shot" every)
    # shellcheck disable=SC2059
    visible=$(printf "$shot" visible)
    differing=$(Difference "$WORK/$every.png" "$WORK/$visible.png")
    [ "$differing" = 0 ] || Fail "$visible differs from $every in $differing pixels"
    Pass "$visible is pixel for pixel $every"
done
echo "$PASSED passed, 0 failed"
