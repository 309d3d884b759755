#!/usr/bin/env bash
# The window with Debian's Orca as a player runs it: a private desktop from a cold start, Orca up
# first, then the game without --speak. What Orca hears is read from the speech service's log:
# the splash and the welcome, a reply and a timed text; never the line the player typed; and
# where-am-I answers with the game.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/../support/reader_session.sh"

missing=$(ReaderSessionMissing)
[ -z "$missing" ] || Skip "no $missing (install-deps.sh test)"
UNDO_BEFORE_CLEANUP='StopReaderSession; KeepSessionLogs "$ARTIFACTS"'
StartReaderSession

NewGameDir
StartGame
WINDOW_ID=$(WaitWindow)
# The splash is skipped unless its four seconds ran out while the busy desktop started the game.
SplashOrConsole() { ShowsPicture "$1" "$SPLASH" || IsConsole "$1"; }
PollScreen 20 SplashOrConsole || Fail "neither the splash nor the console showed"
! ShowsPicture "$WORK/poll.png" "$SPLASH" || SkipSplash
# The splash's line, or at least the window's name, is heard: said as the window comes up.
WaitHeard 10 "Press Space, Enter or Escape to begin." || Heard 1 "$WINDOW_TITLE"
Pass "the splash or the window's name is heard"
Heard 30 "Welcome to the Vosk!" "want you to know."
SubmitLine "i understand"
Heard 15 "Confirming that for me would be great."
SubmitLine "yes"
SubmitLine "push the red button"
Heard 15 "where am I?"
NotReadBack "i understand" "yes" "push the red button"

# Where-am-I, Orca's own key in its desktop layout, names what has the focus: the game.
before=$(SpeechLog | wc -l)
xdotool key KP_Enter
deadline=$(( $(NowMs) + 15000 ))
Answer() { SpeechLog | tail -n +"$((before + 1))" | grep -v '^dropped' | cut -f 2 | tr '\n' ' '; }
until Answer | grep -qiE 'Tarnwick|terminal|entry'; do
    [ "$(NowMs)" -lt "$deadline" ] ||
        Fail "where-am-I did not answer with the game: $(Answer)"
    sleep 0.1
done
Pass "where-am-I answers: $(Answer)"
CloseGame "$WINDOW_ID"
Finish
