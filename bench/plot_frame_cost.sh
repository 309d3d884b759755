#!/usr/bin/env bash
# Plots a console frame's cost against the log's length, drawing every row (as before) and only
# the rows in view (now), from the data tarnwick_bench writes with --frame_cost_data.
#   bench/plot_frame_cost.sh DATA_FILE PNG_FILE
set -euo pipefail

data=${1:?usage: $0 DATA_FILE PNG_FILE}
png=${2:?usage: $0 DATA_FILE PNG_FILE}
if ! command -v gnuplot > /dev/null; then
    echo "plot_frame_cost: gnuplot is missing (scripts/install-deps.sh)" >&2
    exit 1
fi
[ -r "$data" ] || { echo "plot_frame_cost: cannot read $data" >&2; exit 1; }

gnuplot <<PLOT
set terminal pngcairo size 900,560 font "Sans,11"
set output "$png"
set title "Console frame (NewFrame, Console::Draw, Render; no renderer)"
set xlabel "display lines in the log"
set ylabel "CPU time per frame (microseconds)"
set logscale xy
set format x "%.0f"
set xrange [60:160000]
set grid
set key top left
set datafile missing "?"
plot "$data" using 1:3 with linespoints lw 2 pt 7 title "every row (before)", \
     "$data" using 1:2 with linespoints lw 2 pt 5 title "only the rows in view (now)"
PLOT
echo "plot_frame_cost: wrote $png"
