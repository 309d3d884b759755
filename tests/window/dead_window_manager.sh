#!/usr/bin/env bash
# A window manager killed while the X session goes on (a client stays connected) leaves the root
# naming its check window, which is gone: the game still opens its window and answers a line.
source "$(dirname "$0")/lib.sh"

StartXvfb
xprop -spy -root > /dev/null 2>&1 &
# openbox runs the --startup command once it manages the screen, and that kills it ($$ becomes
# openbox's pid); the first start on a machine builds font caches.
status=0
timeout 120 bash -c 'exec openbox --sm-disable --startup "kill -9 $$"' \
    > "$ARTIFACTS/openbox.log" 2>&1 || status=$?
[ "$status" -eq 137 ] || Fail "openbox was not killed once started (status $status)"
check=$(xprop -root _NET_SUPPORTING_WM_CHECK | grep -o '0x[0-9a-f]*') || Fail "the root names no check window"
# The server destroys a dead client's windows once it sees its connection closed.
for _ in {1..200}; do xwininfo -id "$check" > /dev/null 2>&1 || break; sleep 0.1; done
! xwininfo -id "$check" > /dev/null 2>&1 || Fail "openbox's check window $check outlived it"
Pass "openbox killed; the root still names its check window $check, which is gone"

NewGameDir
StartGame
window=$(WaitWindow)
SkipSplash
SubmitLine "i understand"
# A log row below the echo of the line (the echo colour's pixels are the row's ninth field).
Answered() { LogRows "$1" | awk '$9 > 0 {echo = NR} END {exit !(echo && NR > echo)}'; }
PollScreen 8 Answered || Fail "no reply to \"i understand\""
Pass "the window opened and answered \"i understand\""
CloseGame "$window"
Finish
