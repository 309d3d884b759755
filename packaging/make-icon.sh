#!/usr/bin/env bash
# Draws the game's icon, the lone house of the splash picture with its one lit window on a
# night sky, at each size asked for, as 8-bit RGBA PNGs.
#   packaging/make-icon.sh OUTPUT_DIR NAME SIZE...     writes OUTPUT_DIR/SIZExSIZE/NAME.png
# The icons installed are stored, so that building needs no ImageMagick; after a change, draw
# them again with: packaging/make-icon.sh assets/icons tarnwick 16 24 32 48 64 128 256
# Needs ImageMagick's convert. Drawn once at 512 pixels and scaled down, so every size shows the
# same picture; the output is the same on every run (no time stamps in the PNGs).
set -euo pipefail

if [ $# -lt 3 ]; then
    echo "usage: $0 OUTPUT_DIR NAME SIZE..." >&2
    exit 2
fi
output=$1
name=$2
shift 2
command -v convert > /dev/null || { echo "make-icon: ImageMagick's convert is missing" >&2; exit 1; }

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# A rounded tile of night sky fading into the ground, as on the splash.
convert -size 512x512 gradient:'#2a3644'-'#07090b' \
    \( -size 512x512 xc:black -fill white -draw "roundrectangle 16,16 495,495 72,72" \) \
    -alpha off -compose CopyOpacity -composite "$work/tile.png"

# The hill, the house with its chimney, and the window with its ember glow.
convert "$work/tile.png" -fill '#030405' \
    -draw "path 'M 16,430 Q 160,372 256,384 T 495,396 L 495,495 L 16,495 Z'" \
    -draw "polygon 140,404 140,250 256,150 372,250 372,404" \
    -draw "rectangle 312,150 338,222" \
    "$work/house.png"
convert "$work/house.png" \
    \( +clone -alpha off -fill black -colorize 100 -fill '#d34012' \
       -draw "circle 256,300 256,372" -blur 0x28 \) \
    -compose Screen -composite \
    -compose Over -fill '#e08a2c' -draw "rectangle 222,262 290,330" \
    -fill '#030405' -draw "rectangle 252,262 260,330" -draw "rectangle 222,292 290,300" \
    \( "$work/tile.png" -alpha extract \) -alpha off -compose CopyOpacity -composite \
    "$work/icon.png"

for size in "$@"; do
    mkdir -p "$output/${size}x${size}"
    convert "$work/icon.png" -filter Lanczos -resize "${size}x${size}" -depth 8 -strip \
        -define png:exclude-chunks=date,time PNG32:"$output/${size}x${size}/$name.png"
done
