#!/usr/bin/env bash
# The window with --speak and a real Speech Dispatcher on a private socket: the splash, the
# time to act's key and the welcome, a reply and a timed text reach the service whole, the echo
# never does; killed mid-game, the service leaves a game that plays on and one line on standard
# error.
source "$(dirname "$0")/lib.sh"

command -v speech-dispatcher > /dev/null || Skip "no speech-dispatcher (install-deps.sh test)"
SOCKET=$WORK/speechd.sock
SPEECH_LOG=$WORK/run/speech-dispatcher/log/speech-dispatcher.log
mkdir -m 700 "$WORK/run" "$WORK/speechd"
# Sound goes to ALSA's null device: with no sound server the service stops answering.
echo 'AudioOutputMethod "alsa"' > "$WORK/speechd/speechd.conf"
echo 'pcm.!default { type null }' > "$WORK/.asoundrc"
XDG_RUNTIME_DIR=$WORK/run HOME=$WORK speech-dispatcher -s -t 0 -l 5 -C "$WORK/speechd" \
    -S "$SOCKET" -c unix_socket > "$WORK/speechd.out" 2>&1 &
SPEECHD_PID=$!
UNDO_BEFORE_CLEANUP='kill -9 $SPEECHD_PID 2> /dev/null; wait $SPEECHD_PID 2> /dev/null'
deadline=$(( $(NowMs) + 60000 ))
until [ -S "$SOCKET" ]; do
    kill -0 "$SPEECHD_PID" 2> /dev/null || Fail "speech-dispatcher ended: $(< "$WORK/speechd.out")"
    [ "$(NowMs)" -lt "$deadline" ] || Fail "no speech-dispatcher socket within 60 s"
    sleep 0.1
done

# Waits for the service to queue each text given, whole.
WaitSaid() {
    local text deadline=$(( $(NowMs) + 10000 ))
    for text; do
        until grep -qF "Queueing message |$text|" "$SPEECH_LOG"; do
            [ "$(NowMs)" -lt "$deadline" ] || Fail "never said: $text"
            sleep 0.1
        done
        Pass "said: $text"
    done
}

StartXvfb
NewGameDir
GAME_ARGS=(--speak)
StartGame env -u DBUS_SESSION_BUS_ADDRESS SPEECHD_ADDRESS="unix_socket:$SOCKET"
WaitWindow > /dev/null
WELCOME="Welcome to the Vosk! The shortest text based game ever. Where actions, hints and"
WELCOME+=" interactables are all color coded :).Type I understand to let me know you know what I"
WaitSaid "Vosk - Tarnwick III. Press Space, Enter or Escape to begin." \
    "F7 gives more time to act." "$WELCOME want you to know."
SkipSplash
SubmitLine "i understand"
WaitSaid "So you understand eh..? Confirming that for me would be great."
SubmitLine "yes"
SubmitLine "push the red button"
WaitSaid "Where...where am I?"  # 1.5 s after the button
! grep -qiE "\|(i understand|yes|push the red button)" "$SPEECH_LOG" || Fail "an echo was said"
Pass "no echo was said"

kill -9 "$SPEECHD_PID"
SubmitLine "look around"
SubmitLine "look around"
GameRunning || Fail "the game ended with the speech service"
[ "$(grep -c '^tarnwick: no speech: ' "$GAME_STDERR")" -eq 1 ] &&
    [ "$(wc -l < "$GAME_STDERR")" -eq 1 ] || Fail "not the one 'no speech' line on standard error"
Pass "the game plays on silent after the service ended: $(cat "$GAME_STDERR")"
CloseGame "$(xdotool search --onlyvisible --name Tarnwick | head -n 1)"
Finish
