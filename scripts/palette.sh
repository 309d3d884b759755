#!/usr/bin/env bash
# Prints one of the game's colours, as src/console/palette.inc defines it, as red,green,blue
# (211,64,18), or with --hex as #rrggbb (#d34012).
#   scripts/palette.sh [--hex] NAME
set -euo pipefail
format='%d,%d,%d\n'
if [ "${1-}" = --hex ]; then
    format='#%02x%02x%02x\n'
    shift
fi
[ $# -eq 1 ] && [[ $1 =~ ^[A-Za-z]+$ ]] || { echo "usage: $0 [--hex] NAME" >&2; exit 2; }
rgb=$(sed -n "s/^COLOUR($1, *\([0-9]*\), *\([0-9]*\), *\([0-9]*\)).*/\1 \2 \3/p" \
    "$(dirname "$0")/../src/console/palette.inc")
[ -n "$rgb" ] || { echo "$0: the palette has no colour $1" >&2; exit 1; }
# shellcheck disable=SC2086  # the three numbers
printf "$format" $rgb
