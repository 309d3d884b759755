#!/usr/bin/env bash
# Only a close request from the window system ends the program, with exit status 0: during the
# splash as well as in the console. Escape does not close the window. On the way out the GUI
# toolkit saves its window settings (imgui.ini) in the working directory.
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
grep -qF "[Window][Console]" "$GAME_DIR/imgui.ini" 2> /dev/null || Fail "imgui.ini was not saved with the console window"
Pass "the window settings were saved to imgui.ini"
Finish
