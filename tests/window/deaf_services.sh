#!/usr/bin/env bash
# Desktop services that accept the connection and never answer (a stopped session bus, a stuck
# Speech Dispatcher): the splash shows, the game plays a line and the window closes at once,
# on a first run (speech waits for the screen reader's state, which never comes) and with
# --speak (the speech service never answers).
source "$(dirname "$0")/lib.sh"

BUS=$WORK/bus.sock SPEECHD=$WORK/speechd.sock
python3 -c '
import socket, sys, time
listeners = []
for path in sys.argv[1:]:
    listener = socket.socket(socket.AF_UNIX)
    listener.bind(path)
    listener.listen(16)
    listeners.append(listener)
held = []
while True:
    for listener in listeners:
        listener.setblocking(False)
        try:
            held.append(listener.accept()[0])
        except BlockingIOError:
            pass
    time.sleep(0.05)
' "$BUS" "$SPEECHD" &
LISTENER_PID=$!
UNDO_BEFORE_CLEANUP='kill $LISTENER_PID 2> /dev/null; wait $LISTENER_PID 2> /dev/null'
deadline=$(( $(NowMs) + 10000 ))
until [ -S "$BUS" ] && [ -S "$SPEECHD" ]; do
    [ "$(NowMs)" -lt "$deadline" ] || Fail "the listener made no sockets"
    sleep 0.1
done

# True when the log shows more than $2 rows of text.
MoreRowsThan() { [ "$(LogRows "$1" | wc -l)" -gt "$2" ]; }

StartXvfb
for speak in "" --speak; do
    case=${speak:-first run}
    NewGameDir
    GAME_ARGS=($speak)
    StartGame env DBUS_SESSION_BUS_ADDRESS="unix:path=$BUS" SPEECHD_ADDRESS="unix_socket:$SPEECHD"
    window=$(WaitWindow)
    SkipSplash
    Shot "$WORK/before.png"
    SubmitLine "i understand"
    PollScreen 10 MoreRowsThan "$(LogRows "$WORK/before.png" | wc -l)" ||
        Fail "$case: the game did not answer the line"
    Pass "$case: the splash showed and the game answered a line"
    CloseGame "$window" "$case"
    [ ! -s "$GAME_STDERR" ] || Fail "$case: the program wrote to standard error"
    Pass "$case: the window closed at once when asked"
done
Finish
