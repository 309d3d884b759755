#!/usr/bin/env bash
# Desktop services that accept the connection and never answer (a stopped session bus, a stuck
# Speech Dispatcher): the splash shows, the game answers a line and the window closes at once,
# on a first run (the accessibility tree's bridge asks the bus), on one without the tree (speech
# then follows the screen reader's state) and with --speak.
source "$(dirname "$0")/lib.sh"

BUS=$WORK/bus.sock SPEECHD=$WORK/speechd.sock
# The kernel completes connections to a listening socket; nobody ever reads them.
python3 -c 'import socket, sys, time
held = [socket.socket(socket.AF_UNIX) for _ in sys.argv[1:]]
for listener, path in zip(held, sys.argv[1:]): listener.bind(path); listener.listen(64)
time.sleep(3600)' "$BUS" "$SPEECHD" &
LISTENER=$!
UNDO_BEFORE_CLEANUP="kill $LISTENER 2> /dev/null"
MoreRowsThan() { [ "$(LogRows "$1" | wc -l)" -gt "$2" ]; }

StartXvfb
until [ -S "$BUS" ] && [ -S "$SPEECHD" ]; do
    kill -0 "$LISTENER" 2> /dev/null || Fail "the listener ended"
    sleep 0.1
done
for run in "first run" "no tree" --speak; do
    NewGameDir
    GAME_ARGS=()
    [ "$run" != --speak ] || GAME_ARGS=(--speak)
    no_bridge=0
    [ "$run" != "no tree" ] || no_bridge=1
    StartGame env DBUS_SESSION_BUS_ADDRESS="unix:path=$BUS" SPEECHD_ADDRESS="unix_socket:$SPEECHD" \
        NO_AT_BRIDGE=$no_bridge
    window=$(WaitWindow)
    SkipSplash
    Shot "$WORK/before.png"
    SubmitLine "i understand"
    PollScreen 10 MoreRowsThan "$(LogRows "$WORK/before.png" | wc -l)" ||
        Fail "$run: the game did not answer the line"
    CloseGame "$window" "$run"
    [ ! -s "$GAME_STDERR" ] || Fail "$run: the program wrote to standard error"
    Pass "$run: the splash showed, the game answered, the window closed when asked"
done
Finish
