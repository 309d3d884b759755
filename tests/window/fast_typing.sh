#!/usr/bin/env bash
# Keys typed faster than frames come: a line, Enter and the next line at once, 12 ms apart,
# arrive whole and in order, each Enter submitting its own line. The console shows no scrollbar
# while the log is short, and the up arrow recalls earlier lines.
source "$(dirname "$0")/lib.sh"

# Advance of one character of the console font, in tenths of a pixel (as in playthrough.sh).
readonly CHARACTER_WIDTH_TENTHS=88
# Right of the log's text, inside the window's border and above the input field: where a
# scrollbar of the window would be.
readonly SCROLLBAR_AREA="1252 1 1279 690"

# Widths in characters of the echoed rows, top to bottom, one a line.
EchoWidths() {
    LogRows "$1" | awk -v tenths="$CHARACTER_WIDTH_TENTHS" \
        '$9 > 0 {print int((($4 - $3 + 1) * 10 + tenths / 2) / tenths)}'
}

EchoesAre() {  # FILE WIDTH...
    local file=$1
    shift
    [ "$(EchoWidths "$file" | tr '\n' ' ')" = "$* " ]
}

StartXvfb
NewGameDir
StartGame
WaitWindow > /dev/null
SkipSplash
sleep 0.5

Shot "$WORK/short-log.png"
Keep "$WORK/short-log.png" "short-log"
read -r x0 y0 x1 y1 <<< "$SCROLLBAR_AREA"
others=$(( (x1 - x0) * (y1 - y0) - $(CountColour "$WORK/short-log.png" "$SCROLLBAR_AREA" "$CONSOLE_BG") ))
[ "$others" -eq 0 ] || Fail "$others pixels right of the log are not the console background: a scrollbar"
Pass "no scrollbar beside a short log"

# "maybe", Enter, "yes", Enter: the keys the first line shows as, 12 ms apart.
xdotool key --delay 12 m a y b e Return y e s Return
PollScreen 5 EchoesAre 5 3 || { Keep "$WORK/poll.png" "fast"; Fail "typed fast, the echoes are $(EchoWidths "$WORK/poll.png" | tr '\n' ' ')characters wide, not 5 and 3"; }
InputEmpty "$WORK/poll.png" || { Keep "$WORK/poll.png" "fast"; Fail "something was left in the input field"; }
Keep "$WORK/poll.png" "fast"
Pass "\"maybe\" and \"yes\" typed 12 ms a key arrive as two whole lines"

# Up twice goes back to "maybe", which Enter submits again.
xdotool key --delay 12 Up Up Return
PollScreen 5 EchoesAre 5 3 5 || { Keep "$WORK/poll.png" "history"; Fail "after Up, Up, Enter the echoes are $(EchoWidths "$WORK/poll.png" | tr '\n' ' ')characters wide, not 5, 3 and 5"; }
Keep "$WORK/poll.png" "history"
Pass "the up arrow recalls an earlier line"
Finish
