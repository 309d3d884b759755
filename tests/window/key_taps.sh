#!/usr/bin/env bash
# Quick taps: keys pressed and released between two frames still count. A tap of Space ends
# the splash, and every line submitted with a quick tap of Enter is echoed, none lost.
source "$(dirname "$0")/lib.sh"

StartXvfb
NewGameDir
StartGame
WaitWindow > /dev/null
PollScreen 10 ShowsPicture "$SPLASH" || Fail "the splash picture did not show"
xdotool key --delay 0 space
PollScreen 3 IsConsole || Fail "a quick tap of Space did not end the splash"
Pass "a quick tap of Space ends the splash"

sleep 0.3
for line in 1 2 3 4 5 6; do
    xdotool type --delay 20 "tap $line"
    PollScreen 5 InputHasText || Fail "the typed text \"tap $line\" did not show"
    xdotool key --delay 0 Return
    PollScreen 3 InputEmpty || Fail "a quick tap of Enter did not submit \"tap $line\""
done
sleep 0.3
Shot "$WORK/taps.png"
Keep "$WORK/taps.png" "taps"
mapfile -t rows < <(LogRows "$WORK/taps.png")
# The opening text takes two rows; each line adds its echo.
[ "${#rows[@]}" -eq 8 ] || Fail "the log has ${#rows[@]} rows after six quick submissions, expected 8"
for row in 2 3 4 5 6 7; do
    [ "$(StylePixels ECHO <<< "${rows[$row]}")" -gt 40 ] || Fail "row $row is not an echo"
done
Pass "six lines submitted with quick taps of Enter are all echoed"
Finish
