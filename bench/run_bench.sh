#!/usr/bin/env bash
# Scale benchmark: for each N, generates a tree of N synthetic class scripts
# and measures, over several runs, the median wall time and the peak resident
# memory of
#   (a) KorvanRef on the tree, its console sent to a file, and
#   (b) the input/output floor: reading every script whole and writing as
#       many files, of the same total size, as KorvanRef wrote;
# and beside (a) the median time of KorvanRef --navigation and the sizes of
# both index pages.
# Prints a table, checks the targets, and draws time against N with gnuplot.
#
#   bench/run_bench.sh [--build DIR] [--work DIR] [--out DIR] [--runs R] [N...]
#
# Defaults: --build build, --work /dev/shm/korvanref-bench (else
# /tmp/korvanref-bench), --out bench/results,
# --runs 5, N = 1000 10000 100000. Generated trees are kept in the work
# directory and reused by later runs.
set -euo pipefail

repo="$(cd "$(dirname "$0")/.." && pwd)"
build="$repo/build"
# A memory file system when there is one, so that the disk's own delays do
# not drown what the programs do.
work="/tmp/korvanref-bench"
if [[ -d /dev/shm && -w /dev/shm ]]; then work="/dev/shm/korvanref-bench"; fi
out="$repo/bench/results"
runs=5
sizes=()
while [[ $# -gt 0 ]]; do
  case "$1" in
    --build) build="$(cd "$2" && pwd)"; shift 2 ;;
    --work) work="$2"; shift 2 ;;
    --out) out="$2"; shift 2 ;;
    --runs) runs="$2"; shift 2 ;;
    -h|--help) sed -n '2,16p' "$0"; exit 0 ;;
    *) sizes+=("$1"); shift ;;
  esac
done
[[ ${#sizes[@]} -gt 0 ]] || sizes=(1000 10000 100000)

tool="$build/KorvanRef"
generate="$build/bench/korvanref_generate_tree"
floor="$build/bench/korvanref_io_floor"
measure="$build/bench/korvanref_measure"
kept_text="$build/bench/korvanref_kept_text"
for program in "$tool" "$generate" "$floor" "$measure" "$kept_text"; do
  [[ -x "$program" ]] || { echo "missing $program: build the project first" >&2; exit 1; }
done
mkdir -p "$work" "$out"

# Median of the numbers on standard input.
median() { sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

# Empties a destination directory (outside the timed part).
fresh_dir() { rm -rf "$1" && mkdir -p "$1"; }

# Runs a command under the measuring runner; prints "seconds peak_kib
# cpu_seconds".
measured() {
  local console="$1"; shift
  local report status
  report="$("$measure" "$console" "$@")"
  status=$(awk '{ print $6 }' <<<"$report")
  if [[ "$status" != 0 ]]; then
    echo "command failed with status $status: $*" >&2
    exit 1
  fi
  awk '{ print $2, $4, $8 }' <<<"$report"
}

data="$out/bench.dat"
table="$out/table.md"
{
  echo "# N records tool_s floor_s ratio tool_peak_kib floor_peak_kib us_per_script rss_bound_kib tool_cpu_s floor_cpu_s nav_s index_bytes nav_index_bytes"
} >"$data"

for n in "${sizes[@]}"; do
  tree="$work/tree-$n"
  if [[ ! -f "$tree.stats" ]]; then
    echo "generating $n scripts in $tree" >&2
    rm -rf "$tree"
    "$generate" "$tree" "$n" >"$tree.stats.tmp"
    mv "$tree.stats.tmp" "$tree.stats"
  fi
  read -r _ scripts _ input_bytes _ largest <"$tree.stats"

  # One untimed run warms the caches and tells what the tool writes.
  dest="$work/out-tool"
  floor_dest="$work/out-floor"
  fresh_dir "$dest"
  "$tool" "$dest" "$tree" >"$work/console.txt"
  files=$(find "$dest" -type f | wc -l)
  bytes=$(find "$dest" -type f -printf '%s\n' | awk '{ s += $1 } END { print s + 0 }')
  records=$((files - 1))
  kept=$("$kept_text" "$tree" | tail -n 1 | awk '{ print $4 }')
  fresh_dir "$floor_dest"
  "$floor" "$tree" "$floor_dest" "$files" "$bytes" >/dev/null
  # The same for the reference one can search and follow links in.
  nav_dest="$work/out-nav"
  fresh_dir "$nav_dest"
  "$tool" --navigation "$nav_dest" "$tree" >/dev/null
  index_bytes=$(stat -c %s "$dest/index.html")
  nav_index_bytes=$(stat -c %s "$nav_dest/index.html")

  tool_times=()
  nav_times=()
  floor_times=()
  tool_cpus=()
  floor_cpus=()
  tool_peak=0
  floor_peak=0
  for ((r = 0; r < runs; r++)); do
    fresh_dir "$dest"
    report=$(measured "$work/console.txt" "$tool" "$dest" "$tree")
    read -r seconds peak cpu <<<"$report"
    tool_times+=("$seconds")
    tool_cpus+=("$cpu")
    if ((peak > tool_peak)); then tool_peak=$peak; fi
    fresh_dir "$nav_dest"
    report=$(measured "$work/console.txt" "$tool" --navigation "$nav_dest" "$tree")
    read -r seconds _ _ <<<"$report"
    nav_times+=("$seconds")
    fresh_dir "$floor_dest"
    report=$(measured /dev/null "$floor" "$tree" "$floor_dest" "$files" "$bytes")
    read -r seconds peak cpu <<<"$report"
    floor_times+=("$seconds")
    floor_cpus+=("$cpu")
    if ((peak > floor_peak)); then floor_peak=$peak; fi
  done
  # The floor must have written exactly as much as the tool.
  floor_bytes=$(find "$floor_dest" -type f -printf '%s\n' | awk '{ s += $1 } END { print s + 0 }')
  if [[ "$floor_bytes" != "$bytes" ]]; then
    echo "floor wrote $floor_bytes bytes, the tool $bytes" >&2
    exit 1
  fi
  tool_s=$(printf '%s\n' "${tool_times[@]}" | median)
  floor_s=$(printf '%s\n' "${floor_times[@]}" | median)
  nav_s=$(printf '%s\n' "${nav_times[@]}" | median)
  tool_cpu=$(printf '%s\n' "${tool_cpus[@]}" | median)
  floor_cpu=$(printf '%s\n' "${floor_cpus[@]}" | median)
  awk -v n="$n" -v rec="$records" -v t="$tool_s" -v f="$floor_s" -v tp="$tool_peak" \
    -v fp="$floor_peak" -v largest="$largest" -v kept="$kept" -v tc="$tool_cpu" \
    -v fc="$floor_cpu" -v nt="$nav_s" -v ib="$index_bytes" -v nib="$nav_index_bytes" 'BEGIN {
      bound = (3 * largest + kept) / 1024 + 20 * 1024
      printf "%d %d %.4f %.4f %.3f %d %d %.2f %d %.4f %.4f %.4f %d %d\n", n, rec, t, f, t / f, tp,
        fp, t / n * 1e6, bound, tc, fc, nt, ib, nib
    }' >>"$data"
  echo "N=$n: input $input_bytes bytes (largest $largest), output $files files $bytes bytes," \
    "records keep $kept bytes of text" >&2
done

# The table, and the targets: tool/floor at most 1.2 at every N; time per
# script at the largest N at most 1.1 times that at the smallest; peak memory
# within three times the largest script plus the kept text plus 20 MB; at the
# largest N, --navigation at most 1.3 times the plain run's time and its index
# at most 1.25 times the plain index's size.
{
  echo "| N | records | KorvanRef | floor | ratio | KorvanRef peak RSS | us/script |" \
    "RSS bound | KorvanRef CPU | floor CPU | --navigation | nav/plain |" \
    "index | --navigation index |"
  echo "| ---: | ---: | ---: | ---: | ---: | ---: | ---: | ---: | ---: | ---: | ---: | ---: | ---: | ---: |"
  awk '!/^#/ { printf "| %d | %d | %.3f s | %.3f s | %.2f | %.1f MiB | %.1f | %.1f MiB | %.3f s | %.3f s | %.3f s | %.2f | %.1f MiB | %.1f MiB |\n",
    $1, $2, $3, $4, $5, $6 / 1024, $8, $9 / 1024, $10, $11, $12, $12 / $3, $13 / 1048576,
    $14 / 1048576 }' "$data"
} >"$table"
cat "$table"
awk '
  /^#/ { next }
  {
    k++
    if ($5 > 1.2) ratio_missed = ratio_missed " N=" $1
    if ($6 > $9) rss_missed = rss_missed " N=" $1
    if (k == 1) first = $8
    last = $8
    nav_ratio = $12 / $3
    index_ratio = $14 / $13
  }
  END {
    print "ratio <= 1.2 at every N: " (ratio_missed == "" ? "met" : "missed at" ratio_missed)
    if (k > 1)
      printf "us/script growth %.2f (<= 1.1): %s\n", last / first, (last / first <= 1.1 ? "met" : "missed")
    print "peak RSS within bound: " (rss_missed == "" ? "met" : "missed at" rss_missed)
    printf "--navigation time %.2f of plain at the largest N (<= 1.3): %s\n", nav_ratio,
      (nav_ratio <= 1.3 ? "met" : "missed")
    printf "--navigation index %.2f of plain at the largest N (<= 1.25): %s\n", index_ratio,
      (index_ratio <= 1.25 ? "met" : "missed")
  }' "$data" | tee "$out/targets.txt"

# The machine the figures come from.
{
  echo "CPU: $(awk -F': ' '/model name/ { print $2; exit }' /proc/cpuinfo), $(nproc) cores"
  echo "Memory: $(awk '/MemTotal/ { printf "%.0f GiB", $2 / 1048576 }' /proc/meminfo)"
  echo "System: $(uname -sr), $( (. /etc/os-release && echo "$PRETTY_NAME") 2>/dev/null || echo unknown)"
  echo "File system of the work directory: $(df -T "$work" | awk 'NR == 2 { print $2 }')"
  echo "Compiler: $(c++ --version | head -n 1)"
  echo "Runs per figure: $runs (median time, highest peak RSS)"
} >"$out/machine.txt"

if command -v gnuplot >/dev/null; then
  gnuplot -e "data='$data'; output='$out/bench.png'" "$repo/bench/plot.gp"
  echo "plot: $out/bench.png"
else
  echo "gnuplot not found: no plot drawn" >&2
fi
