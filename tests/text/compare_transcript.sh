#!/usr/bin/env bash
# Plays a script and compares what tarnwick-text printed with the stored transcript, byte for
# byte; the transcript it writes with --transcript must be the same bytes.
# Usage: compare_transcript.sh PROGRAM SCRIPT EXPECTED
set -u
program=$1
script=$2
expected=$3

played=$(mktemp)
written=$(mktemp)
trap 'rm -f "$played" "$written"' EXIT

"$program" --script "$script" --transcript "$written" >"$played"
status=$?
if [ "$status" -ne 0 ]; then
    echo "tarnwick-text --script $script ended with status $status" >&2
    exit 1
fi

if ! diff -u --label "stored: $expected" --label "played: $script" "$expected" "$played"; then
    echo
    echo "The game no longer plays this script as its stored transcript says (- stored, + played)."
    echo "If the change is meant, store the new transcript:"
    echo "  $program --script $script > $expected"
    exit 1
fi
if ! cmp -s "$played" "$written"; then
    echo "The --transcript file differs from what was printed:"
    diff -u --label printed --label "transcript file" "$played" "$written"
    exit 1
fi
