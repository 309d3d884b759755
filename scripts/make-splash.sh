#!/usr/bin/env bash
# Draws the splash picture shown before the console: a dark, misty backdrop with a vignette,
# the game's title and a subtitle, as a 1280 x 720 8-bit RGBA PNG.
#   scripts/make-splash.sh [OUTPUT]     (default: assets/splash.png in the repository)
# Needs ImageMagick's convert and the Hack font (fonts-hack-ttf). The output is the same on
# every run: the mist comes from a fixed seed and the PNG carries no time stamps.
set -euo pipefail

repo="$(cd "$(dirname "$0")/.." && pwd)"
output="${1:-$repo/assets/splash.png}"
font="/usr/share/fonts/truetype/hack/Hack-Bold.ttf"
width=1280
height=720
title="Vosk - Tarnwick III"
subtitle="a very short tale from a dark house"
hint="press space"

command -v convert > /dev/null || { echo "make-splash: ImageMagick's convert is missing" >&2; exit 1; }
[ -r "$font" ] || { echo "make-splash: cannot read the font $font" >&2; exit 1; }

# The ember's glow is the colour of the story's actions, partly transparent.
ember=$("$repo/scripts/palette.sh" --hex Action)
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# Night sky fading into the ground: a cold blue-grey at the top, almost black below.
convert -size "${width}x${height}" gradient:'#1d2630'-'#050608' "$work/base.png"

# Mist: smoothed fractal noise, kept faint and strongest in the lower half.
convert -seed 1771 -size 320x180 plasma:fractal -colorspace Gray -blur 0x6 \
    -resize "${width}x${height}!" -level 35%,80% \
    \( -size "${width}x${height}" gradient:'#202020'-'#6a6a6a' \) \
    -compose Multiply -composite "$work/mist.png"
convert "$work/base.png" \( "$work/mist.png" -fill '#8fa3b3' -tint 60 \) \
    -compose Screen -define compose:args=18 -composite "$work/misty.png"

# Skyline: a low hill with a lone house on it, one window lit, and a line of pines.
pines=""
for x in 40 95 150 1010 1060 1105 1150 1200 1245; do
    top=$((548 - (x * 37 % 61)))
    pines+=" polygon $((x - 34)),640 $x,$top $((x + 34)),640"
done
convert "$work/misty.png" -fill '#030405' \
    -draw "path 'M 0,720 L 0,628 Q 320,570 640,596 T 1280,612 L 1280,720 Z'" \
    -draw "$pines" \
    -draw "polygon 838,598 838,548 872,520 906,548 906,598" \
    -draw "rectangle 890,512 898,540" \
    -fill '#8a5a22' -draw "rectangle 852,560 862,572" \
    "$work/skyline.png"
convert "$work/skyline.png" \( +clone -fill black -colorize 100 -fill "${ember}60" \
    -draw "circle 857,566 857,584" -blur 0x12 \) -compose Screen -composite "$work/misty.png"

# Vignette: darken the corners, leave the middle as it is.
convert -size "${width}x${height}" radial-gradient:'#ffffff'-'#000000' \
    -resize "${width}x${height}!" -level 0%,55% -gamma 1.6 -level 0%,100%,0.8 \
    +level 22%,100% "$work/vignette.png"
convert "$work/misty.png" "$work/vignette.png" -compose Multiply -composite "$work/lit.png"

# Title with a soft dark shadow and a faint ember glow, then a rule, the subtitle and a hint.
convert "$work/lit.png" \
    \( -size "${width}x${height}" xc:none -font "$font" -pointsize 78 -gravity center \
       -fill '#000000' -annotate +4-36 "$title" -blur 0x7 \) -compose Over -composite \
    \( -size "${width}x${height}" xc:none -font "$font" -pointsize 78 -gravity center \
       -fill "${ember}80" -annotate +0-40 "$title" -blur 0x14 \) -compose Screen -composite \
    -compose Over -font "$font" -gravity center \
    -pointsize 78 -fill '#ddd5c4' -annotate +0-40 "$title" \
    -fill '#6b5a4a' -draw "rectangle $((width / 2 - 230)),$((height / 2 + 14)) $((width / 2 + 230)),$((height / 2 + 15))" \
    -pointsize 24 -fill '#8f979d' -annotate +0+48 "$subtitle" \
    -gravity south -pointsize 17 -fill '#5d666d' -annotate +0+40 "$hint" \
    "$work/title.png"

# 8-bit RGBA, no time stamps or other chunks that would change from run to run.
convert "$work/title.png" -alpha set -alpha opaque -depth 8 -strip \
    -define png:exclude-chunks=date,time PNG32:"$output"
echo "make-splash: wrote $output" >&2
