#!/usr/bin/env bash
# Runs a command in a private session whose accessibility bus has a screen reader's listeners on
# it (reader_listener.py), so that the window's figures can be taken with its AT-SPI bridge
# serving a reader, every key asked about before the game sees it:
#   bench/with_reader.sh bench/key_latency.sh BUILD_DIR
# Without this wrapper the benchmarks run with no session bus: the bridge finds none and stops.
set -euo pipefail
source "$(dirname "$0")/../scripts/xvfb.sh"
work=$(mktemp -d "${TMPDIR:-/tmp}/tarnwick-reader.XXXXXX")
pids=()
Cleanup() {
    [ ${#pids[@]} -eq 0 ] || kill "${pids[@]}" 2> /dev/null || true
    rm -rf "$work"
}
trap Cleanup EXIT

eval "$(dbus-daemon --session --fork --print-address=1 --print-pid=1 |
    sed -n '1s/^/export DBUS_SESSION_BUS_ADDRESS=/p; 2s/^/bus_pid=/p')"
pids+=("$bus_pid")
/usr/libexec/at-spi-bus-launcher --launch-immediately > "$work/launcher.log" 2>&1 &
pids+=($!)
/usr/bin/python3 "$(dirname "$0")/reader_listener.py" > "$work/listener.log" 2>&1 &
pids+=($!)
deadline=$(( $(NowMs) + FIRST_START_MS ))
until grep -q '^listening' "$work/listener.log"; do
    if ! kill -0 "${pids[-1]}" 2> /dev/null || [ "$(NowMs)" -ge "$deadline" ]; then
        cat "$work/listener.log" "$work/launcher.log" >&2
        echo "with_reader: no listener on the accessibility bus" >&2
        exit 1
    fi
    sleep 0.05
done
"$@"
