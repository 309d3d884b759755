#!/usr/bin/env bash
# Keys typed in a quick burst are fed to the input field frame after frame: no wait for events
# longer than a frame begins while keys are still queued, so the burst is on screen as soon as
# the frame rate allows. The waits are watched from inside the program (key_probe.so), since the
# caret's next blink would bring late keys to the screen all the same.
source "$(dirname "$0")/lib.sh"

PROBE_LIBRARY=$(dirname "$PROBE")/libkey_probe.so
REPORT="$WORK/waits"

StartXvfb
NewGameDir
StartGame env LD_PRELOAD="$PROBE_LIBRARY" TARNWICK_WAIT_REPORT="$REPORT"
WaitWindow > /dev/null
SkipSplash
# A fast typist (25 ms a key, capitals with Shift) and keys pressed in overlap; then a pause.
xdotool type --delay 25 "Look At Dresser"
xdotool keydown --delay 0 BackSpace keydown --delay 0 r keyup --delay 0 BackSpace keyup --delay 0 r
sleep 1.5
read -r received fed held _ < <(tr -c '0-9\n' ' ' < "$REPORT")
[ "$received" -ge 34 ] || Fail "the probe saw only $received key events of the burst"
[ "$fed" -eq "$received" ] || Fail "$((received - fed)) of $received key events still queued after a pause"
[ "$held" -eq 0 ] || Fail "$held waits for events began with keys still queued"
Pass "a burst of $received key events fed without a wait while any was queued"
Shot "$WORK/burst.png"
InputHasText "$WORK/burst.png" || Fail "the burst is not in the input field"
Keep "$WORK/burst.png" "burst"
Finish
