#!/usr/bin/env bash
# Draws the game's icon, the lone house of the splash picture with its one lit window on a
# night sky, at each size asked for, as 8-bit RGBA PNGs.
#   packaging/make-icon.sh OUTPUT_DIR NAME SIZE...     writes OUTPUT_DIR/SIZExSIZE/NAME.png
# A NAME ending in -maskable gets the icon for launchers that cut it to a shape of their own (the
# web page's, on a phone): a full-bleed square whose picture lies well inside the middle circle,
# 80% of the width across, that every such shape keeps.
# The icons are stored, so that building needs no ImageMagick; after a change, draw them again
# with: packaging/make-icon.sh assets/icons tarnwick 16 24 32 48 64 128 192 256
#  and: packaging/make-icon.sh assets/icons tarnwick-maskable 512
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

# The ember's glow is the colour of the story's actions.
ember=$("$(dirname "$0")/../scripts/palette.sh" --hex Action)
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# A rounded tile of night sky fading into the ground, as on the splash; or the whole square.
if [[ $name == *-maskable ]]; then
    left=0 right=511 tile=(-draw "rectangle 0,0 511,511")
else
    left=16 right=495 tile=(-draw "roundrectangle 16,16 495,495 72,72")
fi
convert -size 512x512 gradient:'#2a3644'-'#07090b' \
    \( -size 512x512 xc:black -fill white "${tile[@]}" \) \
    -alpha off -compose CopyOpacity -composite "$work/tile.png"

# The hill, the house with its chimney, and the window with its ember glow.
convert "$work/tile.png" -fill '#030405' \
    -draw "path 'M $left,430 Q 160,372 256,384 T $right,396 L $right,$right L $left,$right Z'" \
    -draw "polygon 140,404 140,250 256,150 372,250 372,404" \
    -draw "rectangle 312,150 338,222" \
    "$work/house.png"
convert "$work/house.png" \
    \( +clone -alpha off -fill black -colorize 100 -fill "$ember" \
       -draw "circle 256,300 256,372" -blur 0x28 \) \
    -compose Screen -composite \
    -compose Over -fill '#e08a2c' -draw "rectangle 222,262 290,330" \
    -fill '#030405' -draw "rectangle 252,262 260,330" -draw "rectangle 222,292 290,300" \
    \( "$work/tile.png" -alpha extract \) -alpha off -compose CopyOpacity -composite \
    "$work/icon.png"
# Shrunk about the middle, the edges' rows and columns drawn on outwards.
if [[ $name == *-maskable ]]; then
    convert "$work/icon.png" -virtual-pixel edge -distort SRT 0.8,0 "$work/icon.png"
fi

for size in "$@"; do
    mkdir -p "$output/${size}x${size}"
    convert "$work/icon.png" -filter Lanczos -resize "${size}x${size}" -depth 8 -strip \
        -define png:exclude-chunks=date,time PNG32:"$output/${size}x${size}/$name.png"
done
