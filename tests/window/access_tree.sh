#!/usr/bin/env bash
# The window in a private desktop's accessibility tree (a session bus, AT-SPI's bus and
# registry), read and typed into by a real AT-SPI client (access_client.py); then a session
# whose accessibility bus never answers.
source "$(dirname "$0")/lib.sh"

for tool in dbus-daemon /usr/libexec/at-spi-bus-launcher; do
    command -v "$tool" > /dev/null || Skip "no $tool (install-deps.sh test)"
done
/usr/bin/python3 -c "import pyatspi" 2> /dev/null || Skip "no pyatspi (install-deps.sh test)"

StartXvfb
eval "$(dbus-daemon --session --fork --print-address=1 --print-pid=1 |
    sed -n '1s/^/export DBUS_SESSION_BUS_ADDRESS=/p; 2s/^/BUS_PID=/p')"
/usr/libexec/at-spi-bus-launcher --launch-immediately > "$WORK/bus-launcher.log" 2>&1 &
LAUNCHER_PID=$!
UNDO_BEFORE_CLEANUP='kill $LAUNCHER_PID $BUS_PID ${CLIENT_PID:-} 2> /dev/null'
deadline=$(( $(NowMs) + FIRST_START_MS ))
until dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus \
    org.a11y.Bus.GetAddress > /dev/null 2>&1; do
    [ "$(NowMs)" -lt "$deadline" ] || Fail "AT-SPI's bus never started"
    sleep 0.05
done

# The client listens before the game starts, as a screen reader started first does.
FIRST_START_MS=$FIRST_START_MS CLIENT_READY=$WORK/client-ready GAME_WINDOW_FILE=$WORK/window \
    /usr/bin/python3 "$(dirname "$0")/access_client.py" > "$WORK/client.log" 2>&1 &
CLIENT_PID=$!
deadline=$(( $(NowMs) + FIRST_START_MS ))
until [ -s "$WORK/client-ready" ]; do
    kill -0 "$CLIENT_PID" 2> /dev/null || Fail "the AT-SPI client ended: $(< "$WORK/client.log")"
    [ "$(NowMs)" -lt "$deadline" ] || Fail "the AT-SPI client never listened"
    sleep 0.05
done
NewGameDir
StartGame
WINDOW_ID=$(WaitWindow)
SkipSplash
# The client plays once the console shows.
echo "$WINDOW_ID $(xdotool getwindowgeometry "$WINDOW_ID" | sed -n 's/^ *Geometry: //p')" \
    > "$WORK/window.new"
mv "$WORK/window.new" "$WORK/window"
wait "$CLIENT_PID" || Fail "the AT-SPI client's checks: $(< "$WORK/client.log")"
cat "$WORK/client.log"
Pass "an AT-SPI client reads the story and the line and consumes a key"
CloseGame "$WINDOW_ID"
[ ! -s "$GAME_STDERR" ] || Fail "the program wrote to standard error: $(< "$GAME_STDERR")"

# A session bus where AT-SPI's bus is named but never answers: the game plays as without one.
kill "$LAUNCHER_PID" "$BUS_PID"
xprop -root -remove AT_SPI_BUS
eval "$(dbus-daemon --session --fork --print-address=1 --print-pid=1 |
    sed -n '1s/^/export DBUS_SESSION_BUS_ADDRESS=/p; 2s/^/BUS_PID=/p')"
/usr/bin/python3 -c '
from gi.repository import Gio, GLib
node = Gio.DBusNodeInfo.new_for_xml("<node><interface name=\"org.a11y.Bus\"><method name=\"GetAddress\">"
                                    "<arg type=\"s\" direction=\"out\"/></method></interface></node>")
unanswered = []
def owned(connection, name):
    connection.register_object("/org/a11y/bus", node.interfaces[0], lambda *call: unanswered.append(call))
    print("owned", flush=True)
Gio.bus_own_name(Gio.BusType.SESSION, "org.a11y.Bus", 0, owned, None, None)
GLib.MainLoop().run()' > "$WORK/hung-bus.log" 2>&1 &
LAUNCHER_PID=$!
deadline=$(( $(NowMs) + FIRST_START_MS ))
until grep -qs owned "$WORK/hung-bus.log"; do
    [ "$(NowMs)" -lt "$deadline" ] || Fail "no stand-in for AT-SPI's bus: $(< "$WORK/hung-bus.log")"
    sleep 0.05
done
NewGameDir
StartGame
WINDOW_ID=$(WaitWindow)
SkipSplash
SubmitLine "look around"
CloseGame "$WINDOW_ID" "a hung accessibility bus"
[ ! -s "$GAME_STDERR" ] || Fail "with a hung bus, standard error: $(< "$GAME_STDERR")"
Pass "a hung accessibility bus costs the game nothing"
Finish
