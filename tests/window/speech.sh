#!/usr/bin/env bash
# The window with --speak and a real Speech Dispatcher on a private socket: the splash and the
# welcome, a reply and a timed text reach the service whole, the echo never does; killed
# mid-game, the service leaves a game that plays on and one line on standard error.
source "$(dirname "$0")/lib.sh"

command -v speech-dispatcher > /dev/null || Skip "no speech-dispatcher (scripts/install-deps.sh test)"
SPEECH_RUN=$WORK/run
SOCKET=$WORK/speechd.sock
SPEECH_LOG=$SPEECH_RUN/speech-dispatcher/log/speech-dispatcher.log
mkdir -m 700 "$SPEECH_RUN" "$WORK/speechd"
# Its sound through ALSA's null device: with no sound server, the service stops answering once
# its audio has nowhere to go.
echo 'AudioOutputMethod "alsa"' > "$WORK/speechd/speechd.conf"
echo 'pcm.!default { type null }' > "$WORK/.asoundrc"
XDG_RUNTIME_DIR=$SPEECH_RUN HOME=$WORK speech-dispatcher -s -t 0 -l 5 -C "$WORK/speechd" \
    -S "$SOCKET" -c unix_socket > "$WORK/speechd.out" 2>&1 &
SPEECHD_PID=$!
UNDO_BEFORE_CLEANUP='kill -9 $SPEECHD_PID 2> /dev/null; wait $SPEECHD_PID 2> /dev/null'
deadline=$(( $(NowMs) + 60000 ))
until [ -S "$SOCKET" ]; do
    kill -0 "$SPEECHD_PID" 2> /dev/null || { cat "$WORK/speechd.out" >&2; Fail "speech-dispatcher ended"; }
    [ "$(NowMs)" -lt "$deadline" ] || Fail "no speech-dispatcher socket within 60 s"
    sleep 0.1
done

# Whether the service queued exactly this text to be said.
Said() { grep -qF "Queueing message |$1|" "$SPEECH_LOG"; }
WaitSaid() {
    local deadline=$(( $(NowMs) + 10000 ))
    until Said "$1"; do
        [ "$(NowMs)" -lt "$deadline" ] || Fail "never said: $1"
        sleep 0.1
    done
    Pass "said: $1"
}

StartXvfb
NewGameDir
GAME_ARGS=(--speak)
StartGame env -u DBUS_SESSION_BUS_ADDRESS SPEECHD_ADDRESS="unix_socket:$SOCKET"
WaitWindow > /dev/null
WaitSaid "Vosk - Tarnwick III. Press Space, Enter or Escape to begin."
WaitSaid "Welcome to the Vosk! The shortest text based game ever. Where actions, hints and interactables are all color coded :).Type I understand to let me know you know what I want you to know."
SkipSplash
SubmitLine "i understand"
WaitSaid "So you understand eh..? Confirming that for me would be great."
SubmitLine "yes"
SubmitLine "push the red button"
WaitSaid "Where...where am I?"
for echo in "i understand" "yes" "push the red button"; do
    ! grep -qiF "|$echo" "$SPEECH_LOG" || Fail "the echo \"$echo\" was said"
done
Pass "no echo was said"

kill -9 "$SPEECHD_PID"
wait "$SPEECHD_PID" 2> /dev/null || true
SubmitLine "look around"
SubmitLine "look around"
GameRunning || Fail "the game ended with the speech service"
[ "$(grep -c '^tarnwick: no speech: ' "$GAME_STDERR")" -eq 1 ] || Fail "not one 'no speech' line"
[ "$(wc -l < "$GAME_STDERR")" -eq 1 ] || Fail "more on standard error than the 'no speech' line"
Pass "the game plays on silent after the service ended, and says so once: $(cat "$GAME_STDERR")"
CloseGame "$(xdotool search --onlyvisible --name Tarnwick | head -n 1)"
Finish
