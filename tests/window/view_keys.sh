#!/usr/bin/env bash
# The window's own keys on a real window: Ctrl with + and -, the keypad and the wheel zoom the
# text in steps and Ctrl+0 sets it back, the window keeping its size; F11 and Alt+Enter go full
# screen and back to the same size and place, Alt+Enter submitting nothing; Page Up and
# Ctrl+Home/End move the log's view while the field keeps its caret; Ctrl+Shift+C copies the
# story as plain text.
source "$(dirname "$0")/lib.sh"
command -v xclip > /dev/null || Fail "missing tool: xclip (scripts/install-deps.sh)"

# Height in pixels of the tallest text row of the log: it follows the text's size.
RowHeight() {  # FILE
    LogRows "$1" | awk '{h = $2 - $1 + 1; if (h > m) m = h} END {print m + 0}'
}

# Waits until the tallest row is $1 times the start's (within 8%) and says so.
ExpectZoom() {  # FACTOR WHAT
    ZoomIs() {
        awk -v h="$(RowHeight "$1")" -v b="$BASE_HEIGHT" -v f="$2" \
            'BEGIN { exit !(h >= b * f * 0.92 && h <= b * f * 1.08) }'
    }
    PollScreen 20 ZoomIs "$1" || Fail "$2: rows $(RowHeight "$WORK/poll.png") pixels tall, not $1 x $BASE_HEIGHT"
    Pass "$2: text rows $(RowHeight "$WORK/poll.png") pixels tall ($1 x $BASE_HEIGHT)"
}

WindowGeometry() {
    xwininfo -id "$SHOT_WINDOW" | awk '/Absolute upper-left X:/ {x = $4} /Absolute upper-left Y:/ {y = $4}
        /Width:/ {w = $2} /Height:/ {h = $2} END {print x "," y " " w "x" h}'
}

# What the log region shows, row by row (bounds and colours), above the input line, which is
# taller at 300%.
LogView() {
    "$PROBE" rows "$1" 4 4 1250 640 24 "$CONSOLE_BG" "$PLAIN" "$ACTION" "$HINT" "$INTERACTABLE" "$ECHO"
}

Clipboard() { xclip -o -selection clipboard 2> /dev/null || true; }

StartXvfb -screen 0 1600x900x24
NewGameDir
StartGame
SHOT_WINDOW=$(WaitWindow)
SkipSplash
PollScreen 10 IsConsole || Fail "no console"
BASE_HEIGHT=$(RowHeight "$WORK/poll.png")
[ "$BASE_HEIGHT" -gt 5 ] || Fail "no text rows in the log"
START_GEOMETRY=$(WindowGeometry)

# Zoom: three steps in (110, 125, 150%) by the layout's '=', the keypad's + and the wheel.
xdotool key ctrl+equal
ExpectZoom 1.10 "Ctrl+= zooms to 110%"
xdotool key ctrl+KP_Add
ExpectZoom 1.25 "Ctrl with the keypad's + zooms to 125%"
xdotool keydown ctrl click 4 keyup ctrl
ExpectZoom 1.5 "Ctrl with the wheel zooms to 150%"
Keep "$WORK/poll.png" zoomed
xdotool key ctrl+minus
ExpectZoom 1.25 "Ctrl+- zooms out to 125%"
[ "$(WindowGeometry)" = "$START_GEOMETRY" ] || Fail "the window moved or changed size: $(WindowGeometry)"
Pass "the window keeps its size and place: $START_GEOMETRY"
xdotool key ctrl+0
ExpectZoom 1.0 "Ctrl+0 sets the size back"

# Full screen and back, by F11 and by Alt+Enter; a line in the field stays there, unsent.
xdotool type --delay 25 abc
PollScreen 5 InputHasText || Fail "typed text did not show"
for keys in F11 alt+Return; do
    xdotool key "$keys"
    FullScreen() { [ "$(WindowGeometry)" = "0,0 1600x900" ]; }
    PollScreen 20 FullScreen || Fail "$keys: not full screen: $(WindowGeometry)"
    PollScreen 10 IsConsole || Fail "$keys: the console does not fill the screen"
    Pass "$keys: full screen at $(WindowGeometry)"
    xdotool key "$keys"
    BackAgain() { [ "$(WindowGeometry)" = "$START_GEOMETRY" ]; }
    PollScreen 20 BackAgain || Fail "$keys: back at $(WindowGeometry), not $START_GEOMETRY"
    Pass "$keys: back at $START_GEOMETRY"
done
PollScreen 10 InputHasText || Fail "Alt+Enter submitted the line"
Pass "Alt+Enter left the line in the field"

# A log longer than the window: zoomed to 300%, after a few lines.
for step in 1 2 3 4 5 6 7 8; do xdotool key ctrl+equal; done
ExpectZoom 3.0 "eight steps in stop at 300%"
xdotool key BackSpace BackSpace BackSpace
PollScreen 5 InputEmpty || Fail "the field did not empty"
for line in "look around" "open the door" "go north" "go south" "jump" "sing" "wait here"; do
    xdotool type --delay 25 "$line"
    HoldKey Return
done
sleep 1
Shot "$WORK/end.png"
AT_END=$(LogView "$WORK/end.png")
Keep "$WORK/end.png" end
echo "$AT_END" > "$ARTIFACTS/end.rows"

# Page Up moves the view; typing goes on in the field; Ctrl+Home, Ctrl+End and the caret.
xdotool key Prior
Moved() { [ "$(LogView "$1")" != "$AT_END" ]; }
PollScreen 10 Moved || Fail "Page Up did not move the log's view"
Pass "Page Up moves the log's view"
xdotool type --delay 25 ab
xdotool key ctrl+Home
Shot "$WORK/start.png"
xdotool type --delay 25 c
PollScreen 5 InputHasText || Fail "typing did not show while the log was scrolled"
xdotool key ctrl+End
AtEnd() { [ "$(LogView "$1")" = "$AT_END" ]; }
PollScreen 10 AtEnd || { LogView "$WORK/poll.png" > "$ARTIFACTS/last.rows"; Fail "Ctrl+End did not bring the view back to the end"; }
Pass "Ctrl+End brings the view back to the end"
# The line goes to the game as typed: "abc", not "cab".
PressEnter

# The story on the clipboard: plain text, the player's lines as "> line".
xdotool key ctrl+shift+c
StoryCopied() { Clipboard | grep -qx "> abc"; }
PollScreen 10 StoryCopied || Fail "the story was not copied: $(Clipboard | head -n 5)"
Clipboard > "$ARTIFACTS/story.txt"
grep -q "^Welcome to the Vosk! " "$ARTIFACTS/story.txt" || Fail "the welcome is missing from the copy"
grep -qx "> look around" "$ARTIFACTS/story.txt" || Fail "a typed line is missing from the copy"
grep -qx "> abc" "$ARTIFACTS/story.txt" ||
    Fail "the line typed around Ctrl+Home is not \"abc\" in the copy: a key moved the field's caret"
Pass "Ctrl+Home and Ctrl+End left the field's caret where it was"
! grep -q "<[a-z/]>" "$ARTIFACTS/story.txt" || Fail "markup in the copy"
Pass "Ctrl+Shift+C copies the story as plain text ($(wc -l < "$ARTIFACTS/story.txt") lines)"
CloseGame "$SHOT_WINDOW"

# Remembered: the game starts again at 300%; with --scale at 100%, the saved zoom kept.
[ "$(cat "$SETTINGS_FILE")" = "$(printf 'zoom=300\nfull-screen=off')" ] ||
    Fail "the settings file holds: $(cat "$SETTINGS_FILE")"
[ "$(ls -A "$GAME_DIR")" = "$(printf 'Hack-Bold.ttf\nsplash.png')" ] ||
    Fail "the working folder holds $(ls -A "$GAME_DIR" | tr '\n' ' ')"
Pass "zoom and full screen saved in $SETTINGS_FILE, nothing in the working folder"
for args in "" "--scale 1"; do
    read -r -a GAME_ARGS <<< "$args"
    StartGame
    SHOT_WINDOW=$(WaitWindow)
    SkipSplash
    if [ -z "$args" ]; then ExpectZoom 3.0 "started again at the saved 300%"; fi
    if [ -n "$args" ]; then
        ExpectZoom 1.0 "with --scale, started at 100%"
        xdotool key ctrl+minus
        ExpectZoom 0.9 "with --scale, Ctrl+- zooms out"
        xdotool key F11
        SavedFullScreen() { grep -qx "full-screen=on" "$SETTINGS_FILE"; }
        PollScreen 20 SavedFullScreen || Fail "full screen was not saved"
        grep -qx "zoom=300" "$SETTINGS_FILE" || Fail "with --scale the saved zoom changed"
        Pass "with --scale, full screen is saved and the saved zoom stays 300%"
    fi
    CloseGame "$SHOT_WINDOW"
done

echo "zoom=big" > "$SETTINGS_FILE"
GAME_ARGS=()
StartGame
SHOT_WINDOW=$(WaitWindow)
SkipSplash
ExpectZoom 1.0 "a broken settings file: started at 100%"
CloseGame "$SHOT_WINDOW"
[ "$(grep -c "settings" "$GAME_STDERR")" -eq 1 ] || Fail "not one line about the broken file"
[ "$(cat "$SETTINGS_FILE")" = "zoom=big" ] || Fail "the broken file was overwritten"
Pass "a broken settings file is said once and left as it was: $(cat "$GAME_STDERR")"
Finish
