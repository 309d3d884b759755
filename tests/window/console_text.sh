#!/usr/bin/env bash
# The console's colours: the opening text in plain, action, hint and interactable colours, a
# typed line in the input field in plain and, once submitted, echoed in the echo colour on the
# row below the opening text. Markup typed by the player takes effect in the echo.
source "$(dirname "$0")/lib.sh"

# Pixels of style $2 in the row $1 (a line of LogRows).
CountInRow() {
    StylePixels "$2" <<< "$1"
}

StartXvfb
NewGameDir
StartGame
WaitWindow > /dev/null
SkipSplash
sleep 0.5
Shot "$WORK/opening.png"
Keep "$WORK/opening.png" "opening"

mapfile -t rows < <(LogRows "$WORK/opening.png")
[ "${#rows[@]}" -eq 2 ] || Fail "the opening text takes ${#rows[@]} rows, expected 2: ${rows[*]}"
for style in PLAIN ACTION HINT INTERACTABLE; do
    count=$(CountColour "$WORK/opening.png" "$LOG_AREA" "${!style}")
    [ "$count" -gt 40 ] || Fail "the opening text has $count pixels of the $style colour"
done
# The first row holds every style; the second is plain only.
for style in PLAIN ACTION HINT INTERACTABLE; do
    [ "$(CountInRow "${rows[0]}" "$style")" -gt 40 ] ||
        Fail "the first row of the opening text lacks the $style colour"
done
for style in ACTION HINT INTERACTABLE ECHO; do
    [ "$(CountInRow "${rows[1]}" "$style")" -eq 0 ] ||
        Fail "the second row of the opening text shows the $style colour"
done
Pass "the opening text shows in plain, action, hint and interactable colours over two rows"
[ "$(CountColour "$WORK/opening.png" "0 0 1280 720" "$ECHO")" -eq 0 ] || Fail "echo colour before anything was typed"

xdotool type --delay 25 "Hello there"
PollScreen 5 InputHasText || Fail "the typed text did not show in the input field"
Keep "$WORK/poll.png" "typing"
[ "$(CountColour "$WORK/poll.png" "$INPUT_AREA" "$PLAIN")" -gt 100 ] || Fail "the input field's text is not plain-coloured"
[ "$(CountColour "$WORK/poll.png" "$LOG_AREA" "$ECHO")" -eq 0 ] || Fail "the line was echoed before Enter"
Pass "the typed text shows in the input field in the plain colour"

PressEnter
sleep 0.3
Shot "$WORK/echo.png"
Keep "$WORK/echo.png" "echo"
mapfile -t rows < <(LogRows "$WORK/echo.png")
[ "${#rows[@]}" -eq 3 ] || Fail "the log has ${#rows[@]} rows after one unmatched line, expected 3: ${rows[*]}"
echoCount=$(CountInRow "${rows[2]}" ECHO)
[ "$echoCount" -gt 100 ] || Fail "the third row has $echoCount pixels of the echo colour"
for style in PLAIN ACTION HINT INTERACTABLE; do
    [ "$(CountInRow "${rows[2]}" "$style")" -eq 0 ] || Fail "the echo row shows the $style colour"
done
[ "$(CountColour "$WORK/echo.png" "0 0 1280 ${rows[2]%% *}" "$ECHO")" -eq 0 ] || Fail "echo colour above the echo row"
# "Hello there" is 11 characters wide: about as wide as the first 11 of the opening text.
read -r _ _ left right _ <<< "${rows[2]}"
[ $(( right - left )) -ge 90 ] && [ $(( right - left )) -le 125 ] || Fail "the echo row is $(( right - left )) pixels wide"
Pass "the submitted line shows in the echo colour on the row below the opening text"

SubmitLine "<a>go"
sleep 0.3
Shot "$WORK/markup.png"
Keep "$WORK/markup.png" "markup"
mapfile -t rows < <(LogRows "$WORK/markup.png")
[ "${#rows[@]}" -eq 4 ] || Fail "the log has ${#rows[@]} rows, expected 4"
[ "$(CountInRow "${rows[3]}" ACTION)" -gt 20 ] &&
    [ "$(CountInRow "${rows[3]}" ECHO)" -eq 0 ] || Fail "typed markup did not colour the echo"
Pass "markup in a typed line takes effect in its echo"
Finish
