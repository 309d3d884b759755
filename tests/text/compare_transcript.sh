#!/usr/bin/env bash
# Plays a script and compares what tarnwick-text printed with the stored transcript, byte for
# byte. The stored transcript keeps the log's colour markup (--markup), so a text in the wrong
# colour fails as surely as a wrong word; the --transcript file must hold the same bytes, and
# plain play must print the same with the tags left out.
# Usage: compare_transcript.sh PROGRAM SCRIPT EXPECTED
set -u
program=$1
script=$2
expected=$3

played=$(mktemp)
written=$(mktemp)
plain=$(mktemp)
trap 'rm -f "$played" "$written" "$plain"' EXIT

"$program" --script "$script" --markup --transcript "$written" >"$played"
status=$?
if [ "$status" -ne 0 ]; then
    echo "tarnwick-text --script $script --markup ended with status $status" >&2
    exit 1
fi

if ! diff -u --label "stored: $expected" --label "played: $script" "$expected" "$played"; then
    echo
    echo "The game no longer plays this script as its stored transcript says (- stored, + played)."
    echo "If the change is meant, store the new transcript:"
    echo "  $program --script $script --markup > $expected"
    exit 1
fi
if ! cmp -s "$played" "$written"; then
    echo "The --transcript file differs from what was printed:"
    diff -u --label printed --label "transcript file" "$played" "$written"
    exit 1
fi
if ! "$program" --script "$script" >"$plain" ||
    ! sed -E 's#<([a-zA-Z]|/)>##g' "$expected" | diff -u --label "stored, tags left out" \
        --label "played plain" - "$plain"; then
    echo "Plain play differs from the stored transcript without its tags."
    exit 1
fi
