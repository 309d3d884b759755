# Starting a private X server, for the window tests and the window benchmark. Sourced, not run.
#   StartPrivateXvfb WORK_DIR [XVFB ARGUMENTS...]   exports DISPLAY, sets XVFB_PID
#   StopPrivateXvfb
#   StartScratchXvfb [XVFB ARGUMENTS...]          also makes WORK, both removed at exit

NowMs() { echo $(( ${EPOCHREALTIME/./} / 1000 )); }
# How long a first start on a fresh machine may take (font caches built, a new profile or Wine
# prefix): the deadline of every wait for a program to become ready.
FIRST_START_MS=120000

XVFB_PID=""

# Starts Xvfb (1280 x 720, 24-bit) on a display it picks itself, passing on any extra arguments,
# and waits until it takes a client connection. A server that does not is replaced: other X
# servers on the machine come and go, and a display number freed a moment ago can still be
# unreachable. The server's output goes to WORK_DIR/xvfb.log. Returns 1, saying why on standard
# error, when no usable server could be started.
StartPrivateXvfb() {
    local work=$1
    shift
    local attempt deadline numberFile="$work/display-number"
    for attempt in 1 2 3; do
        : > "$numberFile"
        Xvfb -displayfd 3 -screen 0 1280x720x24 -nolisten tcp -noreset -br "$@" \
            3> "$numberFile" > "$work/xvfb.log" 2>&1 &
        XVFB_PID=$!
        deadline=$(( $(NowMs) + FIRST_START_MS ))
        until grep -q '^[0-9]' "$numberFile"; do
            if ! kill -0 "$XVFB_PID" 2> /dev/null || [ "$(NowMs)" -ge "$deadline" ]; then
                cat "$work/xvfb.log" >&2
                echo "Xvfb gave no display number" >&2
                StopPrivateXvfb
                return 1
            fi
            sleep 0.05
        done
        export DISPLAY=":$(head -n 1 "$numberFile")"
        deadline=$(( $(NowMs) + 5000 ))
        until xdotool getdisplaygeometry > /dev/null 2>&1; do
            if [ "$(NowMs)" -ge "$deadline" ]; then
                echo "X server $DISPLAY takes no connection; starting another" >&2
                StopPrivateXvfb
                continue 2
            fi
            sleep 0.05
        done
        return 0
    done
    echo "no usable X server after three attempts" >&2
    return 1
}

StopPrivateXvfb() {
    if [ -n "$XVFB_PID" ]; then
        kill "$XVFB_PID" 2> /dev/null || true
        wait "$XVFB_PID" 2> /dev/null || true
        XVFB_PID=""
    fi
}

# For a script that needs a private server and a scratch folder until it exits: makes the folder
# (WORK), starts the server with the arguments given, and has both go when the script exits.
StartScratchXvfb() {
    WORK=$(mktemp -d)
    # The game's settings of the run's own: a player's saved zoom must not change the figures.
    export XDG_CONFIG_HOME="$WORK/config"
    trap 'StopPrivateXvfb; rm -rf "$WORK"' EXIT
    StartPrivateXvfb "$WORK" "$@"
}
