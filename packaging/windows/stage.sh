#!/usr/bin/env bash
# Lays out the Windows game's files in a folder, as the zip and the installer ship them:
#   packaging/windows/stage.sh FOLDER NAME=FILE...
# puts each FILE into FOLDER (made if missing) as NAME (which may hold a subfolder:
# licences/GLFW.txt), text files (.txt) with Windows line ends, every file readable by all and
# dated SOURCE_DATE_EPOCH (the environment's, else the date of the changelog's latest entry).
set -euo pipefail

if [ $# -lt 2 ]; then
    echo "usage: $0 FOLDER NAME=FILE..." >&2
    exit 2
fi
folder=$1
shift
top=$(cd "$(dirname "$0")/../.." && pwd)
SOURCE_DATE_EPOCH=$("$top/scripts/source-date-epoch.sh")

umask 022
mkdir -p "$folder"
for entry in "$@"; do
    name=$folder/${entry%%=*}
    file=${entry#*=}
    mkdir -p "$(dirname "$name")"
    case $name in
    *.txt) sed 's/\r*$/\r/' "$file" > "$name" ;;
    *) cp "$file" "$name" ;;
    esac
    chmod 644 "$name"
done
find "$folder" -exec touch -h -d "@$SOURCE_DATE_EPOCH" {} +
