#!/usr/bin/env bash
# The window at the desktop's scale: with Xft.dpi at 192 on a 2560 x 1600 screen it opens at
# 2560 x 1440 with text twice as wide as at --scale 1; --scale 1.5 gives 1920 x 1080; on a
# 1024 x 600 screen it opens at 1024 x 576. At every scale the splash fills it and keys echo.
source "$(dirname "$0")/lib.sh"

# Width in pixels of the lowest echoed row in a screenshot of the window at scale $2.
EchoWidthAt() {  # FILE SCALE
    LogRows "$1" "$2" | awk '$9 > 0 {w = $4 - $3 + 1} END {print w + 0}'
}

Echoed() { [ "$(EchoWidthAt "$1" "$2")" -gt 0 ]; }

# Starts the game with the arguments after the first two, checks that its window is 1280 x 720
# times $2 and that the splash fills it, and echoes ten characters; ECHO_WIDTH is their width.
PlayAt() {  # LABEL SCALE [ARGUMENT...]
    local label=$1 scale=$2 expected size
    shift 2
    GAME_ARGS=("$@")
    NewGameDir
    StartGame
    SHOT_WINDOW=$(WaitWindow)
    expected=$(awk -v s="$scale" 'BEGIN { printf "%dx%d", 1280 * s, 720 * s }')
    size=$(xwininfo -id "$SHOT_WINDOW" | awk '/Width:/ {w = $2} /Height:/ {h = $2} END {print w "x" h}')
    [ "$size" = "$expected" ] || Fail "$label: the window is $size, not $expected"
    Pass "$label: the window is $size"
    # Stretched with filtering, the picture differs from a plain enlargement along edges.
    PollScreen 10 ShowsPicture "$SPLASH" 95 || Fail "$label: the splash does not fill the window"
    Pass "$label: the splash fills the window"
    HoldKey space
    PollScreen 10 IsConsole "$scale" || Fail "$label: the console did not show"
    # Keys wait in order for the frames, however slowly a large window draws them.
    xdotool type --delay 25 mmmmmmmmmm
    HoldKey Return
    PollScreen 10 Echoed "$scale" || Fail "$label: no echo of the typed line"
    Keep "$WORK/poll.png" "$label"
    ECHO_WIDTH=$(EchoWidthAt "$WORK/poll.png" "$scale")
    CloseGame "$SHOT_WINDOW" "$label"
}

command -v xrdb > /dev/null || Fail "missing tool: xrdb (Debian package x11-xserver-utils)"
StartXvfb -screen 0 2560x1600x24
xrdb -nocpp -merge <<< "Xft.dpi: 192"
PlayAt desktop 2
wide=$ECHO_WIDTH
PlayAt scale-1 1 --scale 1
awk -v a="$wide" -v b="$ECHO_WIDTH" 'BEGIN { exit !(a >= 1.9 * b && a <= 2.1 * b) }' ||
    Fail "ten characters are $wide pixels wide at the desktop's scale 2 and $ECHO_WIDTH at scale 1"
Pass "text at the desktop's scale 2 is twice as wide ($wide pixels) as at scale 1 ($ECHO_WIDTH)"
PlayAt scale-1.5 1.5 --scale 1.5

StopPrivateXvfb
StartXvfb -screen 0 1024x600x24
PlayAt small-screen 0.8
Finish
