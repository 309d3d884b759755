#!/usr/bin/env bash
# A missing or unreadable splash.png does not stop the game: it says why in one line on standard
# error, naming the file, and the console shows from the first frame instead of the splash.
# "Missing" means missing everywhere the game looks: the message then names every folder.
source "$(dirname "$0")/lib.sh"

CopyGameAlone

# Prepares GAME_DIR/splash.png for case $1.
SpoilSplash() {
    local splash="$GAME_DIR/splash.png"
    case $1 in
        missing) rm "$splash" ;;
        empty) : > "$splash" ;;
        text) echo "This is not a picture." > "$splash" ;;
        truncated) head -c $(( $(stat -c %s "$SPLASH") / 2 )) "$SPLASH" > "$splash" ;;
        # The header is intact (so the size can be read) but the compressed pixels are overwritten.
        garbage-pixels) head -c 4000 /dev/zero | tr '\0' '\245' |
            dd of="$splash" bs=1 seek=2000 conv=notrunc status=none ;;
        directory) rm "$splash" && mkdir "$splash" ;;
        *) Fail "unknown case $1" ;;
    esac
}

# Until the console shows, every screenshot may show only an empty (not yet drawn) window:
# never the splash picture or the clear colour.
ConsoleOrBlank() {
    IsConsole "$1" && return 0
    ShowsPicture "$1" "$SPLASH" && { Keep "$1" "$CASE-splash"; Fail "$CASE: the splash picture showed"; }
    [ "$(CountColour "$1" "0 0 1280 720" "$CLEAR_COLOUR" 2)" -eq 0 ] || { Keep "$1" "$CASE-clear"; Fail "$CASE: the clear colour showed"; }
    return 1
}

StartXvfb
for CASE in missing empty text truncated garbage-pixels directory; do
    NewGameDir
    SpoilSplash "$CASE"
    TARNWICK=$BUILT_TARNWICK
    [ "$CASE" = missing ] && TARNWICK=$LONE_TARNWICK
    StartGame
    window=$(WaitWindow)
    PollScreen 10 ConsoleOrBlank || { Keep "$WORK/poll.png" "$CASE-no-console"; Fail "$CASE: the console did not show"; }
    consoleMs=$(( $(NowMs) - GAME_START_MS ))
    [ "$consoleMs" -lt 3950 ] || Fail "$CASE: the console showed only after $consoleMs ms, as if a splash had timed out"
    sleep 0.5
    Shot "$WORK/console.png"
    Keep "$WORK/console.png" "$CASE"
    IsConsole "$WORK/console.png" && [ "$(CountColour "$WORK/console.png" "$LOG_AREA" "$PLAIN")" -gt 100 ] ||
        Fail "$CASE: the console does not show the opening text"
    Pass "$CASE: the console shows from the start ($consoleMs ms), no splash"

    CloseGame "$window" "$CASE"
    cp "$GAME_STDERR" "$ARTIFACTS/$CASE-stderr.log"
    lines=$(wc -l < "$GAME_STDERR")
    [ "$lines" -eq 1 ] || Fail "$CASE: $lines lines on standard error, expected one"
    grep -qF "splash.png" "$GAME_STDERR" || Fail "$CASE: the message does not name splash.png"
    if [ "$CASE" = missing ]; then
        grep -qF "$GAME_DIR, $WORK/lone or $WORK/share/games/tarnwick;" "$GAME_STDERR" ||
            Fail "$CASE: the message does not name the three folders tried"
    fi
    Pass "$CASE: one line on standard error: $(cat "$GAME_STDERR")"
done
Finish
