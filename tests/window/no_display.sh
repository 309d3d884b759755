#!/usr/bin/env bash
# Without a display to connect to, GLFW cannot start: the program reports GLFW's error on
# standard error and ends with exit status 1.
source "$(dirname "$0")/lib.sh"

# Runs the program through "$@" and checks the failure.
ExpectNoStart() {
    local label=$1
    shift
    NewGameDir
    StartGame "$@"
    WaitGameExit 20 || Fail "$label: the program still runs after 20 s"
    cp "$GAME_STDERR" "$ARTIFACTS/$label-stderr.log"
    [ "$GAME_STATUS" -eq 1 ] || Fail "$label: exit status $GAME_STATUS, expected 1"
    grep -qE '^Error [0-9]+: .+' "$GAME_STDERR" || Fail "$label: no \"Error <code>: <text>\" line on standard error"
    Pass "$label: exit status 1 and \"$(grep -m 1 '^Error ' "$GAME_STDERR")\""
}

ExpectNoStart "no-display" env -u DISPLAY -u WAYLAND_DISPLAY
# A display that names no server: nothing listens on the highest display number.
ExpectNoStart "absent-server" env -u WAYLAND_DISPLAY DISPLAY=:65535
Finish
