#!/usr/bin/env bash
# The window's own keys: Ctrl with =, the keypad's + and the wheel zoom the text, Ctrl+- and
# Ctrl+0 take it back, the window keeping its size; F11 and Alt+Enter go full screen and back
# to the same place, Alt+Enter submitting nothing; Page Up and Ctrl+Home/End move the log's view
# while typing goes on and the caret stays; Ctrl+Shift+C copies the story as plain text; F7
# steps the time to act, saying each step in the story. Zoom, full screen and the time to act are
# kept in the settings folder (never the working folder), the zoom not with --scale.
source "$(dirname "$0")/lib.sh"
command -v xclip > /dev/null || Fail "missing tool: xclip (scripts/install-deps.sh)"

# Height in pixels of the tallest text row of the log: it follows the text's size.
RowHeight() { LogRows "$1" | awk '{h = $2 - $1 + 1; if (h > m) m = h} END {print m + 0}'; }
ZoomIs() {  # FILE FACTOR: the tallest row is FACTOR times the first run's, within 8%
    awk -v h="$(RowHeight "$1")" -v b="$BASE_HEIGHT" -v f="$2" \
        'BEGIN { exit !(h >= b * f * 0.92 && h <= b * f * 1.08) }'
}
ExpectZoom() {  # FACTOR WHAT
    PollScreen 20 ZoomIs "$1" || Fail "$2: rows $(RowHeight "$WORK/poll.png") pixels tall, not $1 x $BASE_HEIGHT"
    Pass "$2: text rows $(RowHeight "$WORK/poll.png") pixels tall"
}
Geometry() {
    xwininfo -id "$SHOT_WINDOW" | awk '/Absolute upper-left X:/ {x = $4} /Absolute upper-left Y:/ {y = $4}
        /Width:/ {w = $2} /Height:/ {h = $2} END {print x "," y " " w "x" h}'
}
GeometryIs() { [ "$(Geometry)" = "$2" ]; }
# The log's rows (bounds and colours) above the input line, which is taller at 300%.
LogView() { "$PROBE" rows "$1" 4 4 1250 640 24 "$CONSOLE_BG" "$PLAIN" "$ACTION" "$HINT" "$INTERACTABLE" "$ECHO"; }
ViewIs() { [ "$(LogView "$1")" = "$2" ]; }
ViewIsNot() { ! ViewIs "$@"; }
Clipboard() { xclip -o -selection clipboard 2> /dev/null || true; }
Play() {  # ARGUMENTS...: starts the game and skips the splash
    GAME_ARGS=("$@")
    StartGame
    SHOT_WINDOW=$(WaitWindow)
    SkipSplash
}

StartXvfb -screen 0 1600x900x24
NewGameDir
Play
BASE_HEIGHT=$(RowHeight "$WORK/poll.png")
[ "$BASE_HEIGHT" -gt 5 ] || Fail "no text rows in the log"
PLACE=$(Geometry)
xdotool key ctrl+equal
ExpectZoom 1.10 "Ctrl+= zooms to 110%"
xdotool key ctrl+KP_Add
ExpectZoom 1.25 "Ctrl with the keypad's + zooms to 125%"
xdotool keydown ctrl click 4 keyup ctrl
ExpectZoom 1.5 "Ctrl with the wheel zooms to 150%"
xdotool key ctrl+minus
ExpectZoom 1.25 "Ctrl+- zooms out to 125%"
GeometryIs "" "$PLACE" || Fail "the window moved or changed size: $(Geometry)"
xdotool key ctrl+0
ExpectZoom 1.0 "Ctrl+0 sets the size back, the window staying at $PLACE"

xdotool type --delay 25 abc
PollScreen 5 InputHasText || Fail "typed text did not show"
for keys in F11 alt+Return; do
    xdotool key "$keys"
    PollScreen 20 GeometryIs "0,0 1600x900" || Fail "$keys: not full screen: $(Geometry)"
    PollScreen 10 IsConsole || Fail "$keys: the console does not fill the screen"
    xdotool key "$keys"
    PollScreen 20 GeometryIs "$PLACE" || Fail "$keys: back at $(Geometry), not $PLACE"
    Pass "$keys: full screen and back at $PLACE"
done
PollScreen 10 InputHasText || Fail "Alt+Enter submitted the line"
xdotool key BackSpace BackSpace BackSpace
for step in 1 2 3 4 5 6 7 8; do xdotool key ctrl+equal; done
ExpectZoom 3.0 "eight steps in stop at 300%"

# A log taller than the window, its view at the end once two screenshots agree.
for line in "look around" "open the door" "go north" "go south" "jump" "sing" "wait here"; do
    SubmitLine "$line"
done
Settled() {
    local view
    view=$(LogView "$1")
    [ "$view" = "$END_VIEW" ] || { END_VIEW=$view; return 1; }
}
END_VIEW=""
PollScreen 20 Settled || Fail "the log's view did not settle"
xdotool key Prior
PollScreen 10 ViewIsNot "$END_VIEW" || Fail "Page Up did not move the log's view"
xdotool type --delay 25 ab
xdotool key ctrl+Home
xdotool type --delay 25 c
xdotool key ctrl+End
PollScreen 10 ViewIs "$END_VIEW" || Fail "Ctrl+End did not bring the view back to the end"
Pass "Page Up moves the log's view and Ctrl+End brings it back"
xdotool key F7 F7
PressEnter
xdotool key ctrl+shift+c
StoryCopied() { Clipboard | grep -qx "> abc"; }
PollScreen 10 StoryCopied ||
    Fail "no \"> abc\" in the copy (a key moved the field's caret?): $(Clipboard | tail -n 3)"
Clipboard > "$ARTIFACTS/story.txt"
grep -q "^Welcome to the Vosk! " "$ARTIFACTS/story.txt" || Fail "the welcome is not in the copy"
grep -qx "> look around" "$ARTIFACTS/story.txt" || Fail "a typed line is not in the copy"
! grep -q "<[a-z/]>" "$ARTIFACTS/story.txt" || Fail "markup in the copy"
grep -qx "Time to act: longest, ten times as long." "$ARTIFACTS/story.txt" ||
    Fail "F7 twice did not say the longest time to act"
Pass "Ctrl+Shift+C copies the story as plain text, the line typed around Ctrl+Home as \"abc\""
CloseGame "$SHOT_WINDOW"

[ "$(cat "$SETTINGS_FILE")" = "$(printf 'zoom=300\nfull-screen=off\ntime-to-act=longest')" ] ||
    Fail "the settings file holds: $(cat "$SETTINGS_FILE")"
[ "$(ls -A "$GAME_DIR")" = "$(printf 'Hack-Bold.ttf\nsplash.png')" ] ||
    Fail "the working folder holds $(ls -A "$GAME_DIR" | tr '\n' ' ')"
Play
ExpectZoom 3.0 "started again at the saved 300%"
xdotool key F7 ctrl+shift+c
NextStepSaid() { Clipboard | grep -qx "Time to act: normal, as written."; }
PollScreen 10 NextStepSaid || Fail "F7 after the saved longest step: $(Clipboard | tail -n 1)"
Pass "started again at the saved longest time to act, F7 going on to normal"
CloseGame "$SHOT_WINDOW"
Play --scale 1
ExpectZoom 1.0 "with --scale, started at 100%"
xdotool key ctrl+minus F11
SavedFullScreen() { grep -qx "full-screen=on" "$SETTINGS_FILE"; }
PollScreen 20 SavedFullScreen || Fail "full screen was not saved"
grep -qx "zoom=300" "$SETTINGS_FILE" || Fail "with --scale the saved zoom changed"
Pass "with --scale, full screen is saved and the saved zoom stays 300%"
CloseGame "$SHOT_WINDOW"
Finish
