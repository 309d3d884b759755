#!/usr/bin/env bash
# The window (title, size, fixed size), the splash picture, and each way of ending it early:
# Space, Escape, Enter and a left click. After it the console fills the window and the clear
# colour shows nowhere.
source "$(dirname "$0")/lib.sh"

# A dismissal that shows the console sooner than this after start cannot be the time-out, which
# needs more than 4 s of GUI clock (the clock starts after the program does).
readonly BEFORE_TIMEOUT_MS=3950

CheckWindow() {
    local window=$1
    local name netName geometry hints
    name=$(xprop -id "$window" WM_NAME)
    netName=$(xprop -id "$window" _NET_WM_NAME)
    [ "$name" = "WM_NAME(STRING) = \"$WINDOW_TITLE\"" ] || Fail "WM_NAME is: $name"
    [ "$netName" = "_NET_WM_NAME(UTF8_STRING) = \"$WINDOW_TITLE\"" ] || Fail "_NET_WM_NAME is: $netName"
    Pass "the window is titled \"$WINDOW_TITLE\""
    geometry=$(xwininfo -id "$window" | awk '/Width:/ {w = $2} /Height:/ {h = $2} END {print w "x" h}')
    [ "$geometry" = "1280x720" ] || Fail "the window is $geometry"
    Pass "the window is 1280 x 720"
    hints=$(xprop -id "$window" WM_NORMAL_HINTS)
    grep -q "minimum size: 1280 by 720" <<< "$hints" && grep -q "maximum size: 1280 by 720" <<< "$hints" ||
        Fail "the window can be resized: $hints"
    Pass "the window cannot be resized"
}

# Starts the program, checks that the splash shows, ends it with "$@" (an xdotool command or
# HoldKey) and checks that the console follows soon enough not to be the time-out.
DismissWith() {
    local label=$1
    shift
    NewGameDir
    StartGame
    local window
    window=$(WaitWindow)
    [ "$label" = "space" ] && CheckWindow "$window"
    PollScreen 10 ShowsPicture "$SPLASH" || { Keep "$WORK/poll.png" "$label-no-splash"; Fail "$label: the splash picture did not show"; }
    local shownMs=$(( $(NowMs) - GAME_START_MS ))
    Keep "$WORK/poll.png" "$label-splash"
    Pass "$label: the splash picture shows ($shownMs ms after start)"

    "$@"
    PollScreen 10 IsConsole || { Keep "$WORK/poll.png" "$label-after"; Fail "$label: the console did not show"; }
    local consoleMs=$(( $(NowMs) - GAME_START_MS ))
    [ "$consoleMs" -lt "$BEFORE_TIMEOUT_MS" ] ||
        Fail "$label: the console showed only $consoleMs ms after start, too late to tell from the time-out"
    Pass "$label ends the splash (console $consoleMs ms after start)"

    # The first console frame is laid out before the opening text is re-wrapped; look again.
    sleep 0.5
    Shot "$WORK/console.png"
    Keep "$WORK/console.png" "$label-console"
    IsConsole "$WORK/console.png" || Fail "$label: the console background does not fill the window"
    local clear
    clear=$(CountColour "$WORK/console.png" "0 0 1280 720" "$CLEAR_COLOUR" 2)
    [ "$clear" -eq 0 ] || Fail "$label: $clear pixels of the clear colour show"
    Pass "$label: the console fills the window, no clear colour shows"

    # The key that ended the splash must not reach the input field: a typed line starts where
    # the text of the log starts.
    SubmitLine "ab"
    PollScreen 5 HasEchoRow || Fail "$label: the typed line was not echoed"
    local textLeft echoLeft
    textLeft=$(LogRows "$WORK/poll.png" | head -n 1 | awk '{print $3}')
    echoLeft=$(EchoRowLeft "$WORK/poll.png")
    [ $(( echoLeft - textLeft )) -le 2 ] ||
        { Keep "$WORK/poll.png" "$label-echo"; Fail "$label: the echo starts at x=$echoLeft, the log at x=$textLeft: the key went into the input field"; }
    Pass "$label: nothing of the key reaches the input field"

    "$SEND_CLOSE" "$window"
    WaitGameExit 10 || Fail "$label: the program did not end after the close request"
}

# Left edge of the lowest row of the log that holds echo-coloured pixels.
EchoRowLeft() {
    LogRows "$1" | awk '$9 > 0 {left = $3} END {print left}'
}

HasEchoRow() {
    [ -n "$(EchoRowLeft "$1")" ]
}

StartXvfb
DismissWith space HoldKey space
DismissWith escape HoldKey Escape
DismissWith enter HoldKey Return
DismissWith click xdotool mousemove 640 360 click 1
Finish
