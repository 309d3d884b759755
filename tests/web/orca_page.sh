#!/usr/bin/env bash
# The page in Firefox ESR with Debian's Orca, as a player hears it: a private desktop from a cold
# start, Orca up first, the page served over http and typed into with real keys. What Orca hears
# is read from the speech service's log: the welcome once, the first command typed after the
# splash reaching the entry whole with no mode key, a reply and not the typed line, and a text
# that arrives while the player types.
#   orca_page.sh SITE_DIR ARTIFACT_DIR
set -euo pipefail
[ $# -eq 2 ] || { echo "usage: $0 SITE_DIR ARTIFACT_DIR" >&2; exit 2; }
SITE=$(realpath "$1")
ARTIFACTS=$2
TEST_NAME=orca_page
source "$(dirname "$0")/../../scripts/xvfb.sh"
source "$(dirname "$0")/../support/reader_session.sh"
CHECKS=0
Pass() { CHECKS=$((CHECKS + 1)); echo "ok $CHECKS - $*"; }
Skip() { echo "$TEST_NAME: SKIPPED: $*"; exit 77; }
Fail() { echo "$TEST_NAME: FAIL: $*; logs in $ARTIFACTS" >&2; exit 1; }

[ -f "$SITE/index.html" ] || Fail "no page in $SITE (make web)"
missing=$(ReaderSessionMissing)
command -v firefox-esr > /dev/null || missing+=" firefox-esr"
[ -z "$missing" ] || Skip "no $missing (install-deps.sh test)"
mkdir -p "$ARTIFACTS"
WORK=$(mktemp -d "${TMPDIR:-/tmp}/tarnwick-$TEST_NAME.XXXXXX")
trap 'StopReaderSession; KeepSessionLogs "$ARTIFACTS"; rm -rf "$WORK"' EXIT
trap 'exit 130' INT TERM
StartReaderSession

# The command line's text as the accessibility tree gives it to Orca.
EntryText() {
    /usr/bin/python3 -c '
import pyatspi
for app in pyatspi.Registry.getDesktop(0):
    if app and "Firefox" in (app.name or ""):
        entry = pyatspi.findDescendant(
            app, lambda o: o.getRole() == pyatspi.ROLE_ENTRY and o.name == "Your command")
        if entry: print(entry.queryText().getText(0, -1))'
}

SessionStart http python3 -u -m http.server 0 --bind 127.0.0.1 --directory "$SITE"
SessionWait http grep -q ' port [0-9]' "$WORK/http.log"
PORT=$(sed -n 's/.* port \([0-9]*\) .*/\1/p' "$WORK/http.log" | head -n 1)
mkdir -p "$WORK/firefox"
# A fresh profile opens only the page: no first-run tabs, checks or updates.
printf 'user_pref("%s", %s);\n' browser.shell.checkDefaultBrowser false \
    browser.aboutwelcome.enabled false datareporting.policy.dataSubmissionEnabled false \
    app.update.disabled true browser.startup.homepage_override.mstone '"ignore"' \
    browser.startup.page 0 browser.newtab.preload false browser.newtabpage.enabled false \
    startup.homepage_welcome_url '""' datareporting.policy.firstRunURL '""' \
    toolkit.telemetry.reportingpolicy.firstRun false accessibility.force_disabled 0 \
    > "$WORK/firefox/user.js"
SessionStart firefox env GNOME_ACCESSIBILITY=1 firefox-esr --no-remote --profile "$WORK/firefox" \
    "http://127.0.0.1:$PORT/"
Heard $((FIRST_START_MS / 1000)) "Welcome to the Vosk!"

# The splash has gone by itself while the welcome was read; the player types the first command
# without a mode key.
xdotool type --delay 80 "i understand"
deadline=$(( $(NowMs) + 10000 ))
until [ "$(EntryText)" = "i understand" ]; do
    [ "$(NowMs)" -lt "$deadline" ] || Fail "the entry holds \"$(EntryText)\", not \"i understand\""
    sleep 0.2
done
Pass "the first command reaches the entry whole"
xdotool key Return
Heard 15 "Confirming that for me would be great."
xdotool type --delay 80 "yes"
xdotool key Return
Heard 15 "push the big red button"
# The timed text comes 1.5 s after the button, while the next line is typed (for 4 s: xdotool
# waits half the delay after each press and each release).
xdotool type --delay 80 "push the red button"
xdotool key Return
xdotool type --delay 800 "look around"
Heard 15 "where am I?"
NotReadBack "i understand" "yes" "push the red button"
[ "$(SpokenCount "Welcome to the Vosk!")" -eq 1 ] || Fail "the welcome was said more than once"
Pass "the welcome is heard once"
echo "$TEST_NAME: all $CHECKS checks passed"
