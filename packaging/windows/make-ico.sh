#!/usr/bin/env bash
# Packs PNG pictures into one Windows icon file, each kept as PNG (as Windows reads them since
# Vista), in the order given:
#   packaging/windows/make-ico.sh OUTPUT.ico PNG...
set -euo pipefail

if [ $# -lt 2 ]; then
    echo "usage: $0 OUTPUT.ico PNG..." >&2
    exit 2
fi
output=$1
shift

# Little-endian bytes of $1, $2 of them.
Bytes() {
    local value=$1 count=$2 i
    for ((i = 0; i < count; i++)); do
        printf "\\$(printf '%03o' $(( (value >> (8 * i)) & 255 )))"
    done
}

{
    Bytes 0 2
    Bytes 1 2
    Bytes $# 2
    offset=$((6 + 16 * $#))
    for png in "$@"; do
        # Width and height from the PNG's header; a side of 256 is written as 0.
        read -r width height < <(od -An -tu4 --endian=big -j16 -N8 "$png")
        size=$(stat -c %s "$png")
        Bytes $((width % 256)) 1
        Bytes $((height % 256)) 1
        Bytes 0 2
        Bytes 1 2
        Bytes 32 2
        Bytes "$size" 4
        Bytes "$offset" 4
        offset=$((offset + size))
    done
    cat "$@"
} > "$output"
