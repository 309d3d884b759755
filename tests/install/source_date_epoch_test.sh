#!/usr/bin/env bash
# SOURCE_DATE_EPOCH, the date of all that is built, is the environment's, else the changelog's
# latest entry's: as scripts/source-date-epoch.sh prints it and as the Makefile hands it on.
set -euo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
for given in "" 1234567890; do
    with=(env -u SOURCE_DATE_EPOCH -u MAKEFLAGS -u MAKELEVEL ${given:+SOURCE_DATE_EPOCH=$given})
    dates=$({ "${with[@]}" "$top/scripts/source-date-epoch.sh"; "${with[@]}" make -s -C "$top" \
        --no-print-directory --eval 'date: ; @echo $$SOURCE_DATE_EPOCH' date; } | tr '\n' ' ')
    expected=${given:-$(dpkg-parsechangelog -l "$top/packaging/changelog.in" -S Timestamp)}
    [ "$dates" = "$expected $expected " ] || { echo "FAIL: $given gives $dates" >&2; exit 1; }
done
