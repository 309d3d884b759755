#!/usr/bin/env bash
# Packs the Windows game into one zip holding one folder, named after the zip:
#   packaging/windows/make-zip.sh OUTPUT.zip NAME=FILE...
# with the files laid out by stage.sh. The same files give the same bytes: entries sorted, no
# owners or extra time stamps, and every date SOURCE_DATE_EPOCH.
set -euo pipefail

if [ $# -lt 2 ]; then
    echo "usage: $0 OUTPUT.zip NAME=FILE..." >&2
    exit 2
fi
zip=$(realpath -m "$1")
shift
folder=$(basename "$zip" .zip)

stage=$(mktemp -d "$zip.XXXXXX")
trap 'rm -rf "$stage"' EXIT
"$(dirname "$0")/stage.sh" "$stage/$folder" "$@"

rm -f "$zip"
# zip keeps local times: UTC makes them the same everywhere.
(cd "$stage" && find "$folder" | LC_ALL=C sort | TZ=UTC zip -X -9 -q -@ "$zip")
