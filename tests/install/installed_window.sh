#!/usr/bin/env bash
# The window program finds its font and splash picture wherever it is started from: unpacked
# from the Debian package and started in an empty folder (the splash from
# ../share/games/tarnwick, the font from the fonts-hack-ttf package), and as ./build/tarnwick
# started from the project's top folder (both beside the program). Each time the splash shows,
# the console draws its text in the Hack font, and nothing is said on standard error.
# Arguments as for the window tests; TARNWICK_DEB names the package and TARNWICK_TOP_FOLDER the
# project's top folder.
source "$(dirname "$0")/../window/lib.sh"

deb=$(ls "${TARNWICK_DEB:?}"/tarnwick_*.deb)
top=${TARNWICK_TOP_FOLDER:?}

# The pitch of the first two text rows of the log: 17 pixels in the GUI toolkit's built-in
# font, 22 in Hack at the game's size.
RowPitch() {
    LogRows "$1" | awk 'NR == 1 {first = $1} NR == 2 {print $1 - first; exit}'
}

# Plays the start of the game with TARNWICK started in GAME_DIR, then closes it.
CheckStart() {
    local label=$1 pitch
    StartGame
    window=$(WaitWindow)
    PollScreen 15 ShowsPicture "$SPLASH" || { Keep "$WORK/poll.png" "$label-splash"; Fail "$label: the splash picture did not show"; }
    Pass "$label: the splash picture shows"
    HoldKey space
    PollScreen 10 IsConsole || { Keep "$WORK/poll.png" "$label-console"; Fail "$label: the console did not show"; }
    sleep 0.5
    Shot "$WORK/console.png"
    Keep "$WORK/console.png" "$label"
    pitch=$(RowPitch "$WORK/console.png")
    [ -n "$pitch" ] && [ "$pitch" -ge 20 ] || Fail "$label: log rows ${pitch:-?} pixels apart, not in the Hack font"
    Pass "$label: the console draws its text in Hack (rows $pitch pixels apart)"
    CloseGame "$window" "$label"
    [ ! -s "$GAME_STDERR" ] || Fail "$label: standard error says: $(cat "$GAME_STDERR")"
    Pass "$label: closed with status 0 and nothing on standard error"
}

StartXvfb

dpkg-deb -x "$deb" "$WORK/unpacked"
TARNWICK=$WORK/unpacked/usr/games/tarnwick
GAME_DIR=$(mktemp -d "$WORK/elsewhere.XXXXXX")
GAME_STDERR=$WORK/unpacked.stderr.log
CheckStart unpacked

# The GUI toolkit keeps its window settings in the working directory; leave the top folder
# as it was found.
[ -e "$top/imgui.ini" ] || UNDO_BEFORE_CLEANUP="rm -f '$top/imgui.ini'"
TARNWICK=./$(realpath --relative-to="$top" "$1")
GAME_DIR=$top
GAME_STDERR=$WORK/top-folder.stderr.log
CheckStart top-folder
Finish
