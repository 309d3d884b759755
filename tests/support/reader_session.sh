# A private desktop with Debian's Orca in it, for the tests with the real screen reader.
# Sourced, after scripts/xvfb.sh, by a script that has WORK (a scratch folder), Fail and Pass.
#   ReaderSessionMissing        prints what the machine lacks for a session, nothing if it has all
#   StartReaderSession          X server, window manager, session and accessibility buses, sound,
#                               speech and Orca, each started cold and Orca's greeting heard
#   StopReaderSession           ends exactly what StartReaderSession started, newest first
#   SpeechLog / SpokenTexts...  what the speech service was given to say and how it went
#   Heard / NotReadBack         checks of it that pass or fail the test
#   KeepSessionLogs DIR         copies the speech and Orca logs there
# Everything the session reads or writes (home, settings, runtime folder, sockets) is in WORK.

READER_PIDS=()
SPEECH_LOG=""

ReaderSessionMissing() {
    local tool
    for tool in Xvfb openbox dbus-daemon /usr/libexec/at-spi-bus-launcher pulseaudio \
        speech-dispatcher /usr/lib/speech-dispatcher-modules/sd_espeak-ng /usr/bin/orca xdotool; do
        command -v "$tool" > /dev/null || { echo "$tool"; return; }
    done
    /usr/bin/python3 -c "import pyatspi, speechd" 2> /dev/null || echo "python3-pyatspi/speechd"
}

# Runs a command in the background as part of the session, its output in WORK/NAME.log.
SessionStart() {  # NAME COMMAND...
    local name=$1
    shift
    "$@" > "$WORK/$name.log" 2>&1 &
    READER_PIDS+=($!)
}

# Whether the process is there and has not ended (an ended child stays a zombie until waited for).
Running() { [ "$(awk '{print $3}' "/proc/$1/stat" 2> /dev/null || echo Z)" != Z ]; }

# Waits, up to the first start's allowance, until the command succeeds, while the process last
# started, NAME, runs.
SessionWait() {  # NAME COMMAND...
    local name=$1 deadline=$(( $(NowMs) + FIRST_START_MS ))
    shift
    until "$@" > /dev/null 2>&1; do
        Running "${READER_PIDS[-1]}" || Fail "$name ended; its log: $(tail -n 5 "$WORK/$name.log")"
        [ "$(NowMs)" -lt "$deadline" ] || Fail "$name not ready; its log: $(tail -n 5 "$WORK/$name.log")"
        sleep 0.05
    done
}

StartReaderSession() {
    mkdir -p "$WORK/home" "$WORK/config" "$WORK/data" "$WORK/cache" "$WORK/speechd"
    mkdir -p "$WORK/run" && chmod 700 "$WORK/run"
    export HOME=$WORK/home XDG_CONFIG_HOME=$WORK/config XDG_DATA_HOME=$WORK/data
    export XDG_CACHE_HOME=$WORK/cache XDG_RUNTIME_DIR=$WORK/run
    unset SPEECHD_ADDRESS PULSE_SERVER AT_SPI_BUS_ADDRESS NO_AT_BRIDGE
    StartPrivateXvfb "$WORK" || Fail "no usable X server"
    # The window manager gives windows the focus as a desktop does; undecorated at the corner, a
    # window is where the window tests look for it.
    printf '%s' '<openbox_config xmlns="http://openbox.org/3.4/rc"><applications>' \
        '<application class="*"><decor>no</decor><position force="yes"><x>0</x><y>0</y>' \
        '</position></application></applications></openbox_config>' > "$WORK/openbox.xml"
    SessionStart openbox openbox --sm-disable --config-file "$WORK/openbox.xml"
    eval "$(dbus-daemon --session --fork --print-address=1 --print-pid=1 |
        sed -n '1s/^/export DBUS_SESSION_BUS_ADDRESS=/p; 2s/.*/READER_PIDS+=(&)/p')"
    SessionStart at-spi /usr/libexec/at-spi-bus-launcher --launch-immediately
    SessionWait at-spi dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus \
        org.a11y.Bus.GetAddress
    # What a desktop sets when the player turns the screen reader on.
    local property
    for property in IsEnabled ScreenReaderEnabled; do
        dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus \
            org.freedesktop.DBus.Properties.Set string:org.a11y.Status string:$property \
            variant:boolean:true > /dev/null || Fail "could not set $property"
    done

    # A sound server with no sound card: eSpeak's audio is played at its real pace into a null
    # sink, so a text cut off by the next one is cut off as for a player.
    printf '%s\n' 'load-module module-null-sink sink_name=silence' \
        "load-module module-native-protocol-unix socket=$WORK/run/pulse.sock auth-anonymous=1" \
        'set-default-sink silence' > "$WORK/pulse.pa"
    SessionStart pulse pulseaudio -n -F "$WORK/pulse.pa" --daemonize=no --use-pid-file=no \
        --exit-idle-time=-1 --disallow-exit --system=no --log-target=stderr
    SessionWait pulse test -S "$WORK/run/pulse.sock"
    export PULSE_SERVER=unix:$WORK/run/pulse.sock

    # The service's own log at level 5 records each text it queues and when its speaking starts,
    # ends or is cancelled (SpeechLog reads it); eSpeak NG speaks, through the sound server.
    SPEECH_LOG=$WORK/run/speech-dispatcher/log/speech-dispatcher.log
    printf '%s\n' 'AudioOutputMethod "pulse"' 'DefaultModule "espeak-ng"' > "$WORK/speechd/speechd.conf"
    SessionStart speechd speech-dispatcher -s -t 0 -l 5 -C "$WORK/speechd" \
        -S "$WORK/run/speechd.sock" -c unix_socket
    SessionWait speechd test -S "$WORK/run/speechd.sock"
    export SPEECHD_ADDRESS=unix_socket:$WORK/run/speechd.sock

    # Orca's launcher refuses to start beside another Orca of the same user, and --replace
    # kills every one: a copy of it without that check, under a name of its own so that no
    # other Orca's --replace finds it.
    sed -e '/^    if otherOrcas():$/,/^        return 1$/d' \
        -e "s/setProcessName('orca')/setProcessName('orca-private')/" /usr/bin/orca > "$WORK/orca"
    ! grep -q 'if otherOrcas' "$WORK/orca" || Fail "the launcher's single-instance check stayed"
    SessionStart orca /usr/bin/python3 "$WORK/orca" --disable braille \
        --debug-file "$WORK/orca-debug.log"
    SessionWait orca HeardWhole "Screen reader on."
}

# Ends each process it started, newest first: asked to end, and killed if it has not within
# three seconds (Orca may hang saying goodbye to a bus that has gone).
StopReaderSession() {
    local i pid deadline
    for ((i = ${#READER_PIDS[@]} - 1; i >= 0; i--)); do
        pid=${READER_PIDS[i]}
        kill "$pid" 2> /dev/null || continue
        deadline=$(( $(NowMs) + 3000 ))
        while Running "$pid"; do
            [ "$(NowMs)" -lt "$deadline" ] || { kill -9 "$pid" 2> /dev/null; break; }
            sleep 0.05
        done
        wait "$pid" 2> /dev/null || true
    done
    READER_PIDS=()
    StopPrivateXvfb
}

# Copies what the speech service and Orca logged into folder $1, for a look after a run.
KeepSessionLogs() {
    cp "$SPEECH_LOG" "$1/speech-dispatcher.log" 2> /dev/null || true
    cp "$WORK/orca-debug.log" "$1/orca-debug.log" 2> /dev/null || true
    SpeechLog > "$1/said.txt"
}

# Each text the service was given, one a line in the order given, after how it went: "whole"
# (spoken to its end), "cut" (stopped part way), "speaking", "dropped" (cancelled before a word of
# it was spoken) or "queued". The markup a reader wraps texts in (SSML, a mark before each word)
# is taken out. The service numbers each message when it queues it (reply 225) and reports its
# start, end and cancelling (events 701, 702, 703) under that number.
SpeechLog() {
    perl -0777 -ne 'my ($text, @order, %said, %state);
        while (/Queueing message \|(.*?)\| with priority|REPLY:\|225-(\d+)|REPLY:\|70([123])-(\d+)/sg) {
            if (defined $1) {
                $text = $1; $text =~ s/<[^>]*>//g; $text =~ s/\s+/ /g; $text =~ s/^ | $//g;
                $text =~ s/&lt;/</g; $text =~ s/&gt;/>/g; $text =~ s/&quot;/"/g;
                $text =~ s/&apos;/\x27/g; $text =~ s/&amp;/&/g;
            } elsif (defined $2) {
                push @order, $2; $said{$2} = $text; $state{$2} = "queued";
            } elsif (exists $state{$4}) {
                $state{$4} = $3 == 1 ? "speaking" : $3 == 2 ? "whole"
                    : $state{$4} eq "speaking" ? "cut" : "dropped";
            }
        }
        print "$state{$_}\t$said{$_}\n" for @order' "$SPEECH_LOG" 2> /dev/null
}

# The texts the player heard, whole or in part.
SpokenTexts() { SpeechLog | awk -F '\t' '$1 != "queued" && $1 != "dropped" {print $2}'; }

# Whether a text spoken to its end held the given one (a fixed string).
HeardWhole() { SpeechLog | awk -F '\t' '$1 == "whole" {print $2}' | grep -qF -- "$1"; }

# How many texts holding the given one were heard, whole or in part.
SpokenCount() { SpokenTexts | grep -cF -- "$1" || true; }

# Waits up to $1 seconds for each further text to be heard whole. A text still being spoken when
# the time is up counts too: its speech began and nothing cut it. eSpeak NG now and then runs on
# for many seconds after a text with runs of punctuation ("eh..?"), until the next key stops it.
WaitHeard() {  # SECONDS TEXT...
    local deadline=$(( $(NowMs) + $1 * 1000 )) text
    shift
    for text; do
        until HeardWhole "$text"; do
            if [ "$(NowMs)" -ge "$deadline" ]; then
                SpeechLog | awk -F '\t' '$1 == "speaking" {print $2}' | grep -qF -- "$text" ||
                    return 1
                break
            fi
            sleep 0.1
        done
    done
}

# Passes when each text is heard whole within $1 seconds, fails saying what was said instead.
Heard() {  # SECONDS TEXT...
    local seconds=$1
    shift
    WaitHeard "$seconds" "$@" ||
        Fail "\"$*\" not heard whole; the last texts: $(SpeechLog | tail -n 8 | tr '\t\n' ' |')"
    Pass "heard: $*"
}

# Passes unless a line the player typed was heard back: alone, or as the log's echo ("> yes",
# which eSpeak reads as "greater yes") whole, in part as it is typed ("> y"), or leading a text.
# Single keys echoed as they are typed do not count.
NotReadBack() {  # LINE...
    SpokenTexts | awk -v typed="$(IFS='|'; echo "$*")" '
        BEGIN { count = split(tolower(typed), lines, "|") }
        { text = tolower($0); echo = sub(/^(>|greater) ?/, "", text)
          for (i = 1; i <= count; i++)
              if (text == lines[i] || (echo && text != "" &&
                  (index(lines[i], text) == 1 || index(text, lines[i]) == 1))) { print; found = 1 } }
        END { exit !found }' && Fail "Orca read a typed line back"
    Pass "no typed line is read back"
}
