#!/usr/bin/env bash
# With no dismissing input the splash ends by itself after about four seconds. Keys and buttons
# that do not end it (a letter, keypad Enter, Tab, the right and middle mouse buttons) are
# pressed meanwhile and change nothing, and nothing of them reaches the input field.
source "$(dirname "$0")/lib.sh"

StartXvfb
NewGameDir
StartGame
WaitWindow > /dev/null
PollScreen 10 ShowsPicture "$SPLASH" || { Keep "$WORK/poll.png" "no-splash"; Fail "the splash picture did not show"; }
firstSplashMs=$(( $(NowMs) - GAME_START_MS ))
Pass "the splash picture shows ($firstSplashMs ms after start)"

HoldKey a
HoldKey KP_Enter
HoldKey Tab
xdotool mousemove 640 360 click 3 click 2

# Watch until the console shows: the last splash and the first console screenshot bound the
# moment the splash ended.
lastSplashMs=0
consoleMs=0
deadline=$(( GAME_START_MS + 20000 ))
while [ "$(NowMs)" -lt "$deadline" ]; do
    beforeMs=$(( $(NowMs) - GAME_START_MS ))
    Shot "$WORK/poll.png"
    afterMs=$(( $(NowMs) - GAME_START_MS ))
    clear=$(CountColour "$WORK/poll.png" "0 0 1280 720" "$CLEAR_COLOUR" 2)
    [ "$clear" -eq 0 ] || { Keep "$WORK/poll.png" "clear-colour"; Fail "the clear colour shows at $afterMs ms"; }
    if IsConsole "$WORK/poll.png"; then
        consoleMs=$afterMs
        break
    fi
    ShowsPicture "$WORK/poll.png" "$SPLASH" || { Keep "$WORK/poll.png" "neither"; Fail "neither splash nor console at $afterMs ms"; }
    lastSplashMs=$beforeMs
    Keep "$WORK/poll.png" "last-splash"
    sleep 0.05
done
[ "$consoleMs" -gt 0 ] || Fail "the splash did not end within 20 s"
Keep "$WORK/poll.png" "console"

[ "$lastSplashMs" -ge 3000 ] || Fail "the splash was gone before 3 s (last seen at $lastSplashMs ms)"
Pass "the splash was still up $lastSplashMs ms after start, despite the other keys and buttons"
# The GUI clock starts after the program, so more than 4 s of it are more than 4 s of wall time
# (less the one nominal first frame).
[ "$consoleMs" -ge 3980 ] || Fail "the console showed after only $consoleMs ms"
# Generous for a loaded machine, yet far from never.
[ "$consoleMs" -le $(( firstSplashMs + 6500 )) ] ||
    Fail "the console showed only after $consoleMs ms (splash first seen at $firstSplashMs ms)"
# The splash was on screen at least from its first sighting to the start of the last
# screenshot that showed it, all within its four seconds: a slow machine only shortens that
# stretch, while a splash of six seconds shows for more than five of them.
shownMs=$(( lastSplashMs - firstSplashMs ))
[ "$shownMs" -lt 5000 ] ||
    Fail "the splash was seen for $shownMs ms (from $firstSplashMs to $lastSplashMs ms): longer than four seconds"
Pass "the splash ended by itself between $lastSplashMs and $consoleMs ms after start"

sleep 0.3
Shot "$WORK/console.png"
InputEmpty "$WORK/console.png" || { Keep "$WORK/console.png" "input"; Fail "keys pressed during the splash reached the input field"; }
Pass "the input field is empty"
Finish
