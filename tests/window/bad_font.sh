#!/usr/bin/env bash
# An unusable Hack-Bold.ttf does not stop the game: it says so in one line on standard error,
# naming the file, and the console draws its text in the built-in font. A font missing from
# the working directory and from beside the program is taken from the fonts-hack-ttf package,
# without a word.
source "$(dirname "$0")/lib.sh"

CopyGameAlone

# Prepares GAME_DIR/Hack-Bold.ttf for case $1.
SpoilFont() {
    local font="$GAME_DIR/Hack-Bold.ttf"
    case $1 in
        missing) rm "$font" ;;
        empty) : > "$font" ;;
        text) echo "This is not a font at all." > "$font" ;;
        truncated) head -c 20000 "$FONT" > "$font.part" && mv "$font.part" "$font" ;;
        # A TrueType table directory whose tables lie far beyond the end of the file.
        bad-tables) head -c 4096 "$FONT" > "$font.part" && mv "$font.part" "$font" ;;
        directory) rm "$font" && mkdir "$font" ;;
        *) Fail "unknown case $1" ;;
    esac
}

StartXvfb
for case in missing empty text truncated bad-tables directory; do
    NewGameDir
    SpoilFont "$case"
    expectedLines=1
    TARNWICK=$BUILT_TARNWICK
    if [ "$case" = missing ]; then
        expectedLines=0
        TARNWICK=$LONE_TARNWICK
    fi
    StartGame
    window=$(WaitWindow)
    PollScreen 10 ShowsPicture "$SPLASH" || { Keep "$WORK/poll.png" "$case-splash"; Fail "$case: the splash picture did not show"; }
    HoldKey space
    PollScreen 10 IsConsole || { Keep "$WORK/poll.png" "$case-console"; Fail "$case: the console did not show"; }
    sleep 0.5
    Shot "$WORK/console.png"
    Keep "$WORK/console.png" "$case"
    rows=$(LogRows "$WORK/console.png" | wc -l)
    plain=$(CountColour "$WORK/console.png" "$LOG_AREA" "$PLAIN")
    action=$(CountColour "$WORK/console.png" "$LOG_AREA" "$ACTION")
    [ "$rows" -ge 1 ] && [ "$plain" -gt 100 ] && [ "$action" -gt 20 ] ||
        Fail "$case: the console shows no text ($rows rows, $plain plain and $action action pixels)"
    Pass "$case: the window shows and the console draws its text"

    CloseGame "$window" "$case"
    cp "$GAME_STDERR" "$ARTIFACTS/$case-stderr.log"
    lines=$(wc -l < "$GAME_STDERR")
    [ "$lines" -eq "$expectedLines" ] || Fail "$case: $lines lines on standard error, expected $expectedLines"
    if [ "$expectedLines" -eq 0 ]; then
        Pass "$case: the font of the fonts-hack-ttf package, and nothing on standard error"
        continue
    fi
    grep -qF "Hack-Bold.ttf" "$GAME_STDERR" || Fail "$case: the message does not name Hack-Bold.ttf"
    Pass "$case: one line on standard error: $(cat "$GAME_STDERR")"
done
Finish
