#!/usr/bin/env bash
# Packs the Windows game into one zip holding one folder, named after the zip:
#   packaging/windows/make-zip.sh OUTPUT.zip NAME=FILE...
# puts each FILE into the folder as NAME (which may hold a subfolder: licences/GLFW.txt), text
# files (.txt) with Windows line ends. The same files give the same bytes: entries sorted, no
# owners or extra time stamps, and every date SOURCE_DATE_EPOCH (the environment's, else the
# date of the changelog's latest entry).
set -euo pipefail

if [ $# -lt 2 ]; then
    echo "usage: $0 OUTPUT.zip NAME=FILE..." >&2
    exit 2
fi
zip=$(realpath -m "$1")
shift
top=$(cd "$(dirname "$0")/../.." && pwd)
SOURCE_DATE_EPOCH=$("$top/scripts/source-date-epoch.sh")
folder=$(basename "$zip" .zip)

umask 022
stage=$(mktemp -d "$zip.XXXXXX")
trap 'rm -rf "$stage"' EXIT
for entry in "$@"; do
    name=$stage/$folder/${entry%%=*}
    file=${entry#*=}
    mkdir -p "$(dirname "$name")"
    case $name in
    *.txt) sed 's/\r*$/\r/' "$file" > "$name" ;;
    *) cp "$file" "$name" ;;
    esac
    chmod 644 "$name"
done
find "$stage" -exec touch -h -d "@$SOURCE_DATE_EPOCH" {} +

rm -f "$zip"
# zip keeps local times: UTC makes them the same everywhere.
(cd "$stage" && find "$folder" | LC_ALL=C sort | TZ=UTC zip -X -9 -q -@ "$zip")
