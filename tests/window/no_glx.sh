#!/usr/bin/env bash
# An X server without OpenGL (GLX): the window cannot be created. The program reports GLFW's
# error and that the window could not be created, and ends with exit status 1.
source "$(dirname "$0")/lib.sh"

StartXvfb -extension GLX
NewGameDir
StartGame
WaitGameExit 20 || Fail "the program still runs after 20 s"
cp "$GAME_STDERR" "$ARTIFACTS/stderr.log"
[ "$GAME_STATUS" -eq 1 ] || Fail "exit status $GAME_STATUS, expected 1"
grep -qE '^Error [0-9]+: .+' "$GAME_STDERR" || Fail "no \"Error <code>: <text>\" line on standard error"
Pass "GLFW's report: $(grep -m 1 '^Error ' "$GAME_STDERR")"
grep -qi "window could not be created" "$GAME_STDERR" || Fail "no line saying that the window could not be created"
Pass "it says: $(grep -m 1 -i 'window could not be created' "$GAME_STDERR")"
Finish
