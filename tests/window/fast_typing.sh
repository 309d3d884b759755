#!/usr/bin/env bash
# Keys typed faster than frames come: a line, Enter and the next line at once, 12 ms apart,
# arrive whole and in order, each Enter submitting its own line; keys whose presses overlap edit
# the line in the order pressed, and keys pressed while Enter is held go into the next line. The
# console shows no scrollbar while the log is short, and the up arrow recalls earlier lines.
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

# Whether echoed rows $2 and $3 (from 1, top down) are the same pixels: the same text.
EchoRowsMatch() {  # FILE ROW ROW
    local rows top bottom left right
    mapfile -t rows < <(LogRows "$1" | awk '$9 > 0')
    read -r top bottom left right _ <<< "${rows[$2 - 1]}"
    local size="$((right - left + 1))x$((bottom - top + 1))"
    convert "$1" -crop "$size+$left+$top" +repage "$WORK/row-a.png"
    read -r top _ left _ <<< "${rows[$3 - 1]}"
    convert "$1" -crop "$size+$left+$top" +repage "$WORK/row-b.png"
    [ "$("$PROBE" match "$WORK/row-a.png" "$WORK/row-b.png" 0)" = "100.00" ]
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

# "abzc" typed plainly, then as abc with overlapping presses: Left x (abxc), BackSpace z (abzc),
# y BackSpace (y typed and rubbed out). Each second key goes down before the first comes up.
SubmitLine "abzc"
xdotool type --delay 25 abc
for pair in "Left x" "BackSpace z" "y BackSpace"; do
    read -r a b <<< "$pair"
    xdotool keydown --delay 0 "$a" keydown --delay 0 "$b" keyup --delay 0 "$a" keyup --delay 0 "$b"
done
PressEnter
# "ab", then BackSpace, q, w, e while Enter is held: Enter must submit "ab" in a frame of its own.
xdotool type --delay 25 ab
xdotool keydown --delay 0 Return key --delay 0 BackSpace q w e keyup --delay 0 Return
PollScreen 5 EchoesAre 5 3 5 4 4 2 || { Keep "$WORK/poll.png" "overlap"; Fail "the echoes are $(EchoWidths "$WORK/poll.png" | tr '\n' ' ')characters wide, not 5 3 5 4 4 2"; }
Keep "$WORK/poll.png" "overlap"
EchoRowsMatch "$WORK/poll.png" 4 5 || Fail "typed with overlapping keys, the line differs from \"abzc\""
Pass "keys pressed in overlap edit the line in the order pressed"
# Drawn frame after frame, the letters may still be on their way into the field.
PollScreen 5 InputHasText || Fail "the letters pressed while Enter was held are not in the field"
Pass "keys pressed while Enter is held wait for the next line"
Finish
