# Draws the benchmark's wall time against N for KorvanRef and the I/O floor,
# both axes logarithmic. Called by run_bench.sh with `data` and `output` set.
set terminal pngcairo size 800,560 noenhanced font ",11"
set output output
set title "KorvanRef against the I/O floor (median wall time)"
set xlabel "scripts (N)"
set ylabel "seconds"
set logscale xy
set grid
set key top left
set format x "%.0f"
plot data using 1:3 with linespoints lw 2 pt 7 title "KorvanRef", \
     data using 1:4 with linespoints lw 2 pt 5 title "I/O floor", \
     data using 1:($4 * 1.5) with lines dt 2 lc rgb "gray40" title "1.5 x floor"
