#!/usr/bin/env bash
# Frames come when something changes, and at once: the caret blinks only with the focus; a line
# submitted below a full log scrolls into view at once; a window mapped again redraws itself; a
# minimised window draws nothing, draws itself again once restored, and shows what was typed
# meanwhile. Frames swapped are counted from inside the program (key_probe.so).
source "$(dirname "$0")/lib.sh"

# The caret: the only pixels of the field's text colour while the field is empty.
CaretShown() { [ "$(CountColour "$1" "$INPUT_AREA" "$PLAIN" 10)" -gt 0 ]; }
CaretHidden() { ! CaretShown "$1"; }
REPORT=$WORK/waits
Swaps() { sed -n 's/.*swaps=\([0-9]*\).*/\1/p' "$REPORT"; }

StartXvfb
NewGameDir
StartGame env LD_PRELOAD="$(dirname "$PROBE")/libkey_probe.so" TARNWICK_WAIT_REPORT="$REPORT"
window=$(WaitWindow)
SkipSplash
sleep 1
PollScreen 3 CaretHidden && PollScreen 3 CaretShown && PollScreen 3 CaretHidden ||
    Fail "the caret does not blink in an idle window with the focus"
Pass "the caret blinks in an idle window with the focus"

# 40 echoed lines fill the log; one more must show at once (its scroll takes a second frame).
# shellcheck disable=SC2046
xdotool key --delay 12 $(printf 'x Return %.0s' {1..40}) a b c d e f g h
PollScreen 10 InputHasText || Fail "the typed text did not show"
sleep 1
Shot "$WORK/before.png"
xdotool key Return
sleep 0.35
Shot "$WORK/after.png"
Keep "$WORK/after.png" "scrolled"
[ "$(LogRows "$WORK/before.png")" != "$(LogRows "$WORK/after.png")" ] ||
    Fail "0.35 s after Enter the log has not scrolled to the submitted line"
Pass "a line submitted below a full log scrolls into view at once"

# Unmapped, the window loses its pixels and the focus: only the exposure can draw it again.
xdotool windowunmap --sync "$window"
xdotool windowmap --sync "$window"
PollScreen 3 IsConsole || { Keep "$WORK/poll.png" "remapped"; Fail "the window mapped again is not drawn again"; }
Pass "a window unmapped and mapped again draws itself again"
sleep 0.5
caret=""
for _ in $(seq 12); do Shot "$WORK/u.png"; caret+=$(CaretShown "$WORK/u.png" && echo 1 || echo 0); sleep 0.1; done
[[ "$caret" =~ ^(0+|1+)$ ]] || Fail "the caret blinks without the focus: $caret"
Pass "without the focus the caret stands still"

# Minimised (as a window manager marks it) and restored with nothing new to show and no caret
# to blink, the window still draws itself again: a desktop may have dropped its pixels.
"$SET_WINDOW_STATE" "$window" iconic
sleep 0.3
swaps=$(Swaps)
"$SET_WINDOW_STATE" "$window" normal
sleep 0.5
[ "$(Swaps)" -gt "$swaps" ] || Fail "restored, the window was not drawn again"
Pass "restored, the window draws itself again"

# Minimised, the window draws nothing until restored.
xdotool windowfocus --sync "$window"
PollScreen 3 CaretShown || Fail "the caret did not come back with the focus"
"$SET_WINDOW_STATE" "$window" iconic
sleep 0.3
xdotool type --delay 25 "hidden"
PollScreen 1 InputHasText && { Keep "$WORK/poll.png" "minimised"; Fail "the minimised window drew what was typed"; }
Pass "a minimised window draws no frames"
"$SET_WINDOW_STATE" "$window" normal
PollScreen 3 InputHasText || Fail "restored, the window does not show what was typed meanwhile"
Pass "restored, it shows what was typed while minimised"
CloseGame "$window"
Finish
