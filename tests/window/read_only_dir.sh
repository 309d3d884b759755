#!/usr/bin/env bash
# A working directory that cannot be written: the game starts, plays and closes with exit
# status 0, and a settings file of the GUI toolkit already there is left as it was.
#
# The tests run as root, who can write anywhere, so the directory is made unwritable by the
# first way that works here: a read-only bind mount in a mount namespace of the program's own,
# the immutable attribute, or running the program as the user nobody. READ_ONLY_METHOD=bind,
# immutable or nobody in the environment tries only that one.
source "$(dirname "$0")/lib.sh"

readonly SETTINGS='[Window][Console]
Pos=0,0
Size=1280,720
Collapsed=0
'

# Each prints nothing and succeeds when, done its way, the directory $1 really refuses a write.
ProbeBindMount() {
    unshare -m sh -c 'mount --bind -o ro "$0" "$0" && cd "$0" && ! touch probe' "$1" 2> /dev/null
}
ProbeImmutable() {
    chattr +i "$1" 2> /dev/null || return 1
    local refused=0
    touch "$1/probe" 2> /dev/null || refused=1
    rm -f "$1/probe"
    chattr -i "$1"
    [ "$refused" -eq 1 ]
}
ProbeNobody() {
    command -v setpriv > /dev/null && id nobody > /dev/null 2>&1 || return 1
    chmod 755 "$WORK" "$1" && chmod 555 "$1" &&
        setpriv --reuid=nobody --regid="$(id -g nobody)" --clear-groups sh -c \
            'cd "$0" && test -r Hack-Bold.ttf && test -x "$1" && ! touch probe 2> /dev/null' "$1" "$TARNWICK"
}

StartXvfb
NewGameDir
printf '%s' "$SETTINGS" > "$GAME_DIR/imgui.ini"
Try() {
    [ -z "${READ_ONLY_METHOD:-}" ] || [ "$READ_ONLY_METHOD" = "$1" ]
}
if Try bind && ProbeBindMount "$GAME_DIR"; then
    method="a read-only bind mount"
    StartGame unshare -m sh -c 'mount --bind -o ro "$0" "$0" && cd "$0" && exec "$1"' "$GAME_DIR"
elif Try immutable && ProbeImmutable "$GAME_DIR"; then
    method="the immutable attribute (chattr +i)"
    # The directory's flag only stops new files; the settings file needs its own.
    chattr +i "$GAME_DIR/imgui.ini" "$GAME_DIR"
    UNDO_BEFORE_CLEANUP='chattr -i "$GAME_DIR" "$GAME_DIR/imgui.ini"'
    StartGame
elif Try nobody && ProbeNobody "$GAME_DIR"; then
    method="the user nobody in a directory of mode 555"
    StartGame setpriv --reuid=nobody --regid="$(id -g nobody)" --clear-groups
else
    Skip "no way to make a directory unwritable for the program here (no mount namespace, no chattr, no setpriv)"
fi
Pass "the working directory is unwritable through $method"

window=$(WaitWindow)
SkipSplash
SubmitLine "i understand"
sleep 0.5
Shot "$WORK/console.png"
Keep "$WORK/console.png" "console"
[ "$(CountColour "$WORK/console.png" "$LOG_AREA" "$ECHO")" -gt 50 ] &&
    [ "$(CountColour "$WORK/console.png" "$LOG_AREA" "$HINT")" -gt 200 ] || Fail "the game did not answer \"i understand\""
Pass "the game runs and answers"

"$SEND_CLOSE" "$window"
WaitGameExit 10 || Fail "the program did not end within 10 s of the close request"
cp "$GAME_STDERR" "$ARTIFACTS/stderr.log"
[ "$GAME_STATUS" -eq 0 ] || Fail "exit status $GAME_STATUS"
[ "$(cat "$GAME_DIR/imgui.ini")" = "$(printf '%s' "$SETTINGS")" ] || Fail "imgui.ini changed although the directory is read-only"
[ "$(ls -A "$GAME_DIR" | sort | tr '\n' ' ')" = "Hack-Bold.ttf imgui.ini splash.png " ] ||
    Fail "files appeared in the read-only directory: $(ls -A "$GAME_DIR")"
Pass "closed with exit status 0; nothing in the directory changed"
Finish
