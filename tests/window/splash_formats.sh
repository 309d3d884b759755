#!/usr/bin/env bash
# Splash pictures of every PNG kind show in their own colours, top row at the top, stretched
# over the window: RGB, RGBA (also half transparent: blending is off), grey, grey with alpha,
# palette, 16 bits per channel, and a single pixel. One as wide as the largest texture shows
# too; larger ones are refused with one clear line and no splash, without a crash.
source "$(dirname "$0")/lib.sh"

# Four quadrants, each a colour of its own, so that a swapped channel or a picture upside down
# or mirrored shows. Grey pictures get four grey levels.
readonly COLOURS=(200,40,40 40,200,40 40,40,200 220,220,60)
readonly GREYS=(30,30,30 90,90,90 160,160,160 230,230,230)
readonly SAMPLES=("320 180" "960 180" "320 540" "960 540")

# Writes a 64 x 36 picture of four quadrants in colours $1..$4; the further arguments are
# convert's options and output.
Quadrants() {
    convert \( -size 32x18 "xc:rgb($1)" "xc:rgb($2)" +append \) \
        \( -size 32x18 "xc:rgb($3)" "xc:rgb($4)" +append \) -append "${@:5}"
}

# Runs the game with $1 as splash.png and checks the colours at the sample points.
ExpectSplash() {
    local picture=$1 label=$2
    shift 2
    local -a expected=("$@")
    NewGameDir
    cp "$picture" "$GAME_DIR/splash.png"
    StartGame
    local window
    window=$(WaitWindow)
    # The first drawn frame is the splash: wait until the window shows the first colour.
    PollScreen 10 ShowsColourAt "${SAMPLES[0]}" "${expected[0]}" ||
        { Keep "$WORK/poll.png" "$label"; Fail "$label: the splash did not show (${SAMPLES[0]} is $(PixelAt "$WORK/poll.png" ${SAMPLES[0]}))"; }
    Keep "$WORK/poll.png" "$label"
    local i
    for i in "${!expected[@]}"; do
        local seen
        # shellcheck disable=SC2086
        seen=$(PixelAt "$WORK/poll.png" ${SAMPLES[i]})
        ColourNear "$seen" "${expected[i]}" 3 || Fail "$label: at ${SAMPLES[i]} the window shows $seen, expected ${expected[i]}"
    done
    CloseGame "$window" "$label"
    [ ! -s "$GAME_STDERR" ] || Fail "$label: unexpected standard error: $(cat "$GAME_STDERR")"
    Pass "$label ($(file -b "$picture" | cut -d, -f2-3 | sed 's/^ //')) shows in its colours"
}

ShowsColourAt() {  # FILE "X Y" COLOUR
    # shellcheck disable=SC2086
    ColourNear "$(PixelAt "$1" $2)" "$3" 3
}

# Runs the game with $1 as splash.png and expects it refused as too large.
ExpectRefused() {
    local picture=$1 label=$2
    NewGameDir
    cp "$picture" "$GAME_DIR/splash.png"
    StartGame
    local window
    window=$(WaitWindow)
    PollScreen 10 IsConsole || { Keep "$WORK/poll.png" "$label"; Fail "$label: the console did not show"; }
    local consoleMs=$(( $(NowMs) - GAME_START_MS ))
    [ "$consoleMs" -lt 3950 ] || Fail "$label: the console showed only after $consoleMs ms"
    Keep "$WORK/poll.png" "$label"
    CloseGame "$window" "$label"
    cp "$GAME_STDERR" "$ARTIFACTS/$label-stderr.log"
    [ "$(wc -l < "$GAME_STDERR")" -eq 1 ] && grep -qF splash.png "$GAME_STDERR" ||
        Fail "$label: expected one line naming splash.png on standard error, got: $(cat "$GAME_STDERR")"
    Pass "$label: no splash, console at once, and: $(cat "$GAME_STDERR")"
}

StartXvfb
pictures="$WORK/pictures"
mkdir "$pictures"

Quadrants "${COLOURS[@]}" -depth 8 PNG32:"$pictures/rgba.png"
Quadrants "${COLOURS[@]}" -depth 8 PNG24:"$pictures/rgb.png"
Quadrants "${COLOURS[@]}" -alpha set -channel A -evaluate set 50% +channel \
    -depth 8 PNG32:"$pictures/half-transparent.png"
Quadrants "${COLOURS[@]}" PNG8:"$pictures/palette.png"
Quadrants "${COLOURS[@]}" -depth 16 PNG48:"$pictures/rgb16.png"
Quadrants "${COLOURS[@]}" -depth 16 PNG64:"$pictures/rgba16.png"
Quadrants "${GREYS[@]}" -define png:color-type=0 -define png:bit-depth=8 PNG:"$pictures/grey.png"
Quadrants "${GREYS[@]}" -alpha set -channel A -evaluate set 75% +channel \
    -define png:color-type=4 -define png:bit-depth=8 PNG:"$pictures/grey-alpha.png"
Quadrants "${GREYS[@]}" -depth 16 -define png:color-type=0 -define png:bit-depth=16 \
    PNG:"$pictures/grey16.png"
convert -size 1x1 xc:'rgb(130,70,180)' PNG24:"$pictures/one-pixel.png"

# The test's own pictures must be of the kinds named.
file "$pictures"/*.png > "$ARTIFACTS/pictures.txt"
for kind in "rgba.png: .*8-bit/color RGBA" "rgb.png: .*8-bit/color RGB," "palette.png: .*colormap" \
            "rgb16.png: .*16-bit/color RGB," "rgba16.png: .*16-bit/color RGBA" \
            "grey.png: .*8-bit grayscale" "grey-alpha.png: .*8-bit gray+alpha" \
            "grey16.png: .*16-bit grayscale" "one-pixel.png: .*1 x 1"; do
    grep -q "/$kind" "$ARTIFACTS/pictures.txt" || Fail "the test picture is not of the kind \"$kind\": $(cat "$ARTIFACTS/pictures.txt")"
done
Pass "the test pictures are of the kinds named"

ExpectSplash "$pictures/rgba.png" rgba "${COLOURS[@]}"
ExpectSplash "$pictures/rgb.png" rgb "${COLOURS[@]}"
ExpectSplash "$pictures/half-transparent.png" half-transparent "${COLOURS[@]}"
ExpectSplash "$pictures/palette.png" palette "${COLOURS[@]}"
ExpectSplash "$pictures/rgb16.png" rgb16 "${COLOURS[@]}"
ExpectSplash "$pictures/rgba16.png" rgba16 "${COLOURS[@]}"
ExpectSplash "$pictures/grey.png" grey "${GREYS[@]}"
ExpectSplash "$pictures/grey-alpha.png" grey-alpha "${GREYS[@]}"
ExpectSplash "$pictures/grey16.png" grey16 "${GREYS[@]}"
ExpectSplash "$pictures/one-pixel.png" one-pixel 130,70,180 130,70,180 130,70,180 130,70,180

largest=$("$MAX_TEXTURE_SIZE") || Fail "cannot read GL_MAX_TEXTURE_SIZE"
Pass "GL_MAX_TEXTURE_SIZE is $largest"
"$BIG_PNG" "$largest" 2 150 "$pictures/widest.png"
ExpectSplash "$pictures/widest.png" "widest-$largest" 150,150,150 150,150,150 150,150,150 150,150,150
"$BIG_PNG" 2 $((largest + 1)) 150 "$pictures/too-tall.png"
ExpectRefused "$pictures/too-tall.png" "too-tall-$((largest + 1))"
if [ "$largest" -lt 20000 ]; then
    "$BIG_PNG" 20000 20000 150 "$pictures/huge.png"
    ExpectRefused "$pictures/huge.png" "huge-20000"
fi
Finish
