#!/usr/bin/env bash
# Only a close request from the window system ends the program, with exit status 0: during the
# splash as well as in the console. Escape does not close the window. Nothing is left in the
# working directory (no imgui.ini from the GUI toolkit).
source "$(dirname "$0")/lib.sh"

StartXvfb

# Closed while the splash shows.
NewGameDir
StartGame
window=$(WaitWindow)
PollScreen 10 ShowsPicture "$SPLASH" || Fail "the splash picture did not show"
"$SEND_CLOSE" "$window"
WaitGameExit 10 || Fail "the program did not end within 10 s of a close request during the splash"
[ "$GAME_STATUS" -eq 0 ] || Fail "exit status $GAME_STATUS after a close request during the splash"
[ ! -s "$GAME_STDERR" ] || Fail "the program wrote to standard error"
Pass "a close request during the splash ends the program with status 0"

# Escape in the console, then closed.
NewGameDir
StartGame
window=$(WaitWindow)
SkipSplash
for _ in 1 2 3; do
    HoldKey Escape
    sleep 0.2
done
sleep 1
GameRunning || Fail "Escape ended the program"
[ -n "$(xdotool search --onlyvisible --name Tarnwick 2> /dev/null || true)" ] || Fail "Escape closed the window"
Shot "$WORK/after-escape.png"
Keep "$WORK/after-escape.png" "after-escape"
IsConsole "$WORK/after-escape.png" || Fail "the console is gone after Escape"
Pass "Escape leaves the window open and the console showing"

"$SEND_CLOSE" "$window"
WaitGameExit 10 || Fail "the program did not end within 10 s of a close request"
[ "$GAME_STATUS" -eq 0 ] || Fail "exit status $GAME_STATUS after a close request"
[ ! -s "$GAME_STDERR" ] || Fail "the program wrote to standard error"
Pass "a close request in the console ends the program with status 0"
[ "$(ls -A "$GAME_DIR" | tr '\n' ' ')" = "Hack-Bold.ttf splash.png " ] ||
    Fail "the game left files in its working directory: $(ls -A "$GAME_DIR")"
Pass "no imgui.ini or other file is left in the working directory"
Finish
