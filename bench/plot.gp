# Draws the benchmark's median wall time of each kind of run against N, with
# the plain run's I/O floor, and beside it each kind's ratio to its own floor;
# both N axes logarithmic. Called by run_bench.sh with `data` (one block per
# kind, in the order of `kinds`, the kinds the tool has) and `output` set.
set terminal pngcairo size 1200,520 noenhanced font ",11"
set output output
set multiplot layout 1,2
set xlabel "scripts (N)"
set logscale x
set grid
set key top left
set format x "%.0f"
count = words(kinds)

set title "KorvanRef against the I/O floor (median wall time)"
set ylabel "seconds"
set logscale y
plot for [i = 1:count] data index (i - 1) using 2:6 with linespoints lw 2 title word(kinds, i), \
     data index 0 using 2:7 with linespoints lw 2 dt 2 lc rgb "gray30" title "I/O floor (plain)"

set title "Run / its I/O floor"
set ylabel "ratio"
unset logscale y
set yrange [0:*]
plot for [i = 1:count] data index (i - 1) using 2:8 with linespoints lw 2 title word(kinds, i), \
     1.2 with lines dt 2 lc rgb "gray40" title "1.2"
unset multiplot
