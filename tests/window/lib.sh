# Shared parts of the window tests, sourced by each script. Arguments of every script:
#   TARNWICK FONT SPLASH TOOLS_DIR ARTIFACT_DIR
# (the program, its two data files, the folder of the helper programs, and a folder that keeps
# the screenshots of the last run for a look afterwards).
set -euo pipefail

if [ $# -ne 5 ]; then
    echo "usage: $0 TARNWICK FONT SPLASH TOOLS_DIR ARTIFACT_DIR" >&2
    exit 2
fi
TARNWICK=$1
FONT=$2
SPLASH=$3
PROBE=$4/screen_probe
SEND_CLOSE=$4/send_close
SET_WINDOW_STATE=$4/set_window_state
BIG_PNG=$4/big_png
MAX_TEXTURE_SIZE=$4/max_texture_size
ARTIFACTS=$5
TEST_NAME=$(basename "$0" .sh)
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/xvfb.sh"

# What the program draws, in the game's colours as red,green,blue.
readonly WINDOW_TITLE="Vosk - Tarnwick III"
Colour() { "$(dirname "${BASH_SOURCE[0]}")/../../scripts/palette.sh" "$1"; }
CONSOLE_BG=$(Colour Console) CLEAR_COLOUR=$(Colour Clear) PLAIN=$(Colour Plain)
ACTION=$(Colour Action) HINT=$(Colour Hint) INTERACTABLE=$(Colour Interactable) ECHO=$(Colour Echo)
readonly CONSOLE_BG CLEAR_COLOUR PLAIN ACTION HINT INTERACTABLE ECHO
# Where it draws it: the log region above the input field, inside the window's margins and left
# of the scroll bar; the input field along the bottom edge.
readonly LOG_AREA="4 4 1250 688"
readonly INPUT_AREA="4 692 1250 718"

for tool in Xvfb xdotool xprop xwininfo import convert; do
    command -v "$tool" > /dev/null || { echo "missing tool: $tool (scripts/install-deps.sh)" >&2; exit 1; }
done

mkdir -p "$ARTIFACTS"
rm -f "$ARTIFACTS"/*.png "$ARTIFACTS"/*.log
WORK=$(mktemp -d "${TMPDIR:-/tmp}/tarnwick-$TEST_NAME.XXXXXX")
# The program's settings go to a folder of the test's own: a player's saved zoom or full screen
# must not change what a test sees, and a test's must not stay behind.
export XDG_CONFIG_HOME="$WORK/config"
SETTINGS_FILE=$XDG_CONFIG_HOME/tarnwick/settings
GAME_PID=""
GAME_DIR=""
GAME_STDERR=""
GAME_STATUS=""
CHECKS=0
# A command that Cleanup runs before it removes the scratch folder (to undo chattr and such).
UNDO_BEFORE_CLEANUP=""

Cleanup() {
    local status=$?
    StopGame
    StopPrivateXvfb
    if [ "$status" -ne 0 ] && [ "$status" -ne 77 ]; then
        echo "$TEST_NAME: FAILED; screenshots and logs in $ARTIFACTS" >&2
    fi
    if [ -n "$UNDO_BEFORE_CLEANUP" ]; then
        eval "$UNDO_BEFORE_CLEANUP" || true
    fi
    rm -rf "$WORK"
}
trap Cleanup EXIT
trap 'exit 130' INT TERM

Fail() {
    echo "$TEST_NAME: FAIL: $*" >&2
    if [ -f "$WORK/poll.png" ]; then
        cp "$WORK/poll.png" "$ARTIFACTS/fail-last-screenshot.png" 2> /dev/null || true
    fi
    if [ -n "$XVFB_PID" ]; then
        kill -0 "$XVFB_PID" 2> /dev/null || echo "(the X server $DISPLAY has ended)" >&2
        cp "$WORK/xvfb.log" "$ARTIFACTS/xvfb.log" 2> /dev/null || true
    fi
    if [ -n "$GAME_STDERR" ] && [ -f "$GAME_STDERR" ]; then
        echo "--- standard error of the program:" >&2
        cat "$GAME_STDERR" >&2
        cp "$GAME_STDERR" "$ARTIFACTS/stderr.log" 2> /dev/null || true
    fi
    exit 1
}

Pass() {
    CHECKS=$((CHECKS + 1))
    echo "ok $CHECKS - $*"
}

Skip() {
    echo "$TEST_NAME: SKIPPED: $*"
    exit 77
}

Finish() {
    echo "$TEST_NAME: all $CHECKS checks passed"
}

# Starts a private X server, with the given extra arguments, and points DISPLAY at it.
StartXvfb() {
    StartPrivateXvfb "$WORK" "$@" || Fail "no usable X server"
}

# Makes a fresh working directory holding copies of the font and the splash picture. The
# program's output goes beside it (GAME_STDERR), so that the directory itself can be made
# read-only.
NewGameDir() {
    GAME_DIR=$(mktemp -d "$WORK/game.XXXXXX")
    GAME_STDERR="$GAME_DIR.stderr.log"
    cp "$FONT" "$GAME_DIR/Hack-Bold.ttf"
    cp "$SPLASH" "$GAME_DIR/splash.png"
}

# Starts the program in GAME_DIR, with the arguments in the array GAME_ARGS; further arguments
# are a command to run it through (for example `env -u DISPLAY`).
GAME_ARGS=()
StartGame() {
    GAME_STATUS=""
    GAME_START_MS=$(NowMs)
    (cd "$GAME_DIR" && exec "$@" "$TARNWICK" "${GAME_ARGS[@]}") > "$GAME_DIR.stdout.log" 2> "$GAME_STDERR" &
    GAME_PID=$!
}

GameRunning() {
    [ -n "$GAME_PID" ] || return 1
    local state
    state=$(awk '{print $3}' "/proc/$GAME_PID/stat" 2> /dev/null) || return 1
    [ "$state" != "Z" ]
}

# Waits up to $1 seconds for the program to end and stores its exit status in GAME_STATUS.
WaitGameExit() {
    local deadline=$(( $(NowMs) + $1 * 1000 ))
    while GameRunning; do
        [ "$(NowMs)" -lt "$deadline" ] || return 1
        sleep 0.05
    done
    GAME_STATUS=0
    wait "$GAME_PID" || GAME_STATUS=$?
    GAME_PID=""
    return 0
}

StopGame() {
    if [ -n "$GAME_PID" ]; then
        kill "$GAME_PID" 2> /dev/null || true
        wait "$GAME_PID" 2> /dev/null || true
        GAME_PID=""
    fi
}

# Prints the id of the program's visible window once it is mapped.
WaitWindow() {
    local deadline=$(( $(NowMs) + FIRST_START_MS )) window=""
    while true; do
        window=$(xdotool search --onlyvisible --name "Tarnwick" 2> /dev/null | head -n 1 || true)
        [ -n "$window" ] && break
        GameRunning || Fail "the program ended before its window showed"
        [ "$(NowMs)" -lt "$deadline" ] || Fail "no window showed"
        sleep 0.05
    done
    echo "$window"
}

# Screenshot into $1 of the whole screen (the window covers it), or of the window SHOT_WINDOW
# when that is set.
SHOT_WINDOW=""
Shot() {
    import -window "${SHOT_WINDOW:-root}" "$1"
}

# Keeps a copy of a screenshot among the artifacts under the name $2.
Keep() {
    cp "$1" "$ARTIFACTS/$2.png"
}

# Counts pixels of one colour (exact unless a tolerance is given) in a rectangle "X0 Y0 X1 Y1".
CountColour() {  # FILE "RECT" COLOUR [TOLERANCE]
    # shellcheck disable=SC2086
    "$PROBE" count "$1" $2 "${4:-0}" "$3"
}

# The colour of one pixel as "R,G,B".
PixelAt() {  # FILE X Y
    "$PROBE" pixel "$1" "$2" "$3" | tr ' ' ','
}

# Whether colour $1 is within $3 of colour $2 in every channel.
ColourNear() {
    local IFS=,
    # shellcheck disable=SC2206
    local a=($1) b=($2)
    local i
    for i in 0 1 2; do
        local d=$(( a[i] - b[i] ))
        [ "${d#-}" -le "$3" ] || return 1
    done
}

# The log region "X0 Y0 X1 Y1" in the window at scale $1.
LogArea() {
    awk -v s="$1" '{ printf "%d %d %d %d", $1 * s, $2 * s, $3 * s, $4 * s }' <<< "$LOG_AREA"
}

# Text rows of the log, top to bottom: "TOP BOTTOM LEFT RIGHT" and then the number of pixels
# of each style colour in the row, in the order PLAIN ACTION HINT INTERACTABLE ECHO.
# $2 is the window's scale (default 1).
LogRows() {  # FILE [SCALE]
    # shellcheck disable=SC2046
    "$PROBE" rows "$1" $(LogArea "${2:-1}") 24 "$CONSOLE_BG" "$PLAIN" "$ACTION" "$HINT" "$INTERACTABLE" "$ECHO"
}

# Pixels of the style named $1 (PLAIN, ACTION, HINT, INTERACTABLE or ECHO) in the rows given on
# standard input, as LogRows prints them.
StylePixels() {
    local column
    case $1 in
        PLAIN) column=5 ;;
        ACTION) column=6 ;;
        HINT) column=7 ;;
        INTERACTABLE) column=8 ;;
        ECHO) column=9 ;;
        *) Fail "no style $1" ;;
    esac
    awk -v column="$column" '{total += $column} END {print total + 0}'
}

# True when the screenshot of the window at scale $2 (default 1) shows the console: its
# background fills most of the log region.
IsConsole() {  # FILE [SCALE]
    CountColour "$1" "$(LogArea "${2:-1}")" "$CONSOLE_BG" |
        awk -v s="${2:-1}" '{ exit !($1 > 1246 * 684 * 0.7 * s * s) }'
}

# True when the screenshot matches the picture $2 (stretched to the window) in $3% (default 99)
# of its pixels: shown at its own size the picture comes out pixel for pixel, bar rounding.
ShowsPicture() {
    local percent
    percent=$("$PROBE" match "$1" "$2" 3)
    [ "${percent%.*}" -ge "${3:-99}" ]
}

# Takes screenshots until the check "$2 FILE [$3 ...]" holds for one, for up to $1 seconds. The
# last screenshot is left in $WORK/poll.png.
PollScreen() {
    local seconds=$1 check=$2
    shift 2
    local deadline=$(( $(NowMs) + seconds * 1000 ))
    while true; do
        Shot "$WORK/poll.png"
        "$check" "$WORK/poll.png" "$@" && return 0
        [ "$(NowMs)" -lt "$deadline" ] || return 1
        GameRunning || return 1
        sleep 0.1
    done
}

# Asks window $1 to close and checks that the program ends with status 0; $2 names the case in
# a failure.
CloseGame() {
    "$SEND_CLOSE" "$1"
    WaitGameExit 10 || Fail "${2:+$2: }the program did not end after the close request"
    [ "$GAME_STATUS" -eq 0 ] || Fail "${2:+$2: }exit status $GAME_STATUS"
}

# Waits for the splash picture, skips it with Space and waits for the console.
SkipSplash() {
    PollScreen 10 ShowsPicture "$SPLASH" || Fail "the splash picture did not show"
    HoldKey space
    PollScreen 10 IsConsole || Fail "the console did not show"
}

# A copy of the program with no data files beside it, in LONE_TARNWICK; the built one stays in
# BUILT_TARNWICK.
CopyGameAlone() {
    LONE_TARNWICK=$WORK/lone/tarnwick
    BUILT_TARNWICK=$TARNWICK
    mkdir -p "$WORK/lone"
    cp "$TARNWICK" "$LONE_TARNWICK"
}

# Holds a key long enough for a frame to see it down: the GUI toolkit reads key state once per
# frame, so a press and release between two frames would go unnoticed.
HoldKey() {
    xdotool keydown "$1"
    sleep 0.2
    xdotool keyup "$1"
}

# True when the input field shows typed text (more than the blinking text cursor).
InputHasText() {
    local right
    # shellcheck disable=SC2086
    right=$("$PROBE" rows "$1" $INPUT_AREA 24 "$CONSOLE_BG" | awk 'BEGIN {r = 0} {if ($4 > r) r = $4} END {print r}')
    [ "$right" -gt 24 ]
}

InputEmpty() { ! InputHasText "$1"; }

# Submits the text in the input field with one Enter, which empties the field. SUBMIT_MS is a
# moment just before the line reached the game.
PressEnter() {
    SUBMIT_MS=$(NowMs)
    HoldKey Return
    PollScreen 10 InputEmpty || Fail "Enter did not submit the line"
}

# Types a line into the input field, waits until it shows there and submits it.
SubmitLine() {
    xdotool type --delay 25 -- "$1"
    PollScreen 5 InputHasText || Fail "the typed text \"$1\" did not show in the input field"
    PressEnter
}
