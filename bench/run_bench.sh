#!/usr/bin/env bash
# Scale benchmark: for each N, generates a tree of N synthetic class scripts
# and measures, over several runs, the median wall time and the peak resident
# memory of each kind of KorvanRef run on it, its console sent to a file:
#   plain                 no options
#   navigation            --navigation
#   complete              --complete
#   json                  --json
#   navigation+complete   --navigation --complete
#   navigation+json+compare  --navigation --json --compare OLD, OLD the model
#                         the json run wrote of the same tree (so the
#                         comparison reads and matches every record and
#                         finds nothing changed)
# (a kind whose options the tool does not name in --help is shown as n/a),
# and of the input/output floor of each kind: reading every script whole and
# writing as many files, of the same total size, as that run wrote.
# Prints a table (one row per N and kind), checks the targets, and draws time
# and ratio against N with gnuplot.
#
#   bench/run_bench.sh [--build DIR] [--work DIR] [--out DIR] [--runs R]
#                      [--profile realistic|uniform] [N...]
#
# Defaults: --build build, --work /dev/shm/korvanref-bench (else
# /tmp/korvanref-bench), --out bench/results, --runs 5, --profile realistic,
# N = 1000 10000 100000. Generated trees are kept in the work directory and
# reused by later runs.
set -euo pipefail

repo="$(cd "$(dirname "$0")/.." && pwd)"
build="$repo/build"
# A memory file system when there is one, so that the disk's own delays do
# not drown what the programs do.
work="/tmp/korvanref-bench"
if [[ -d /dev/shm && -w /dev/shm ]]; then work="/dev/shm/korvanref-bench"; fi
out="$repo/bench/results"
runs=5
profile=realistic
sizes=()
while [[ $# -gt 0 ]]; do
  case "$1" in
    --build) build="$(cd "$2" && pwd)"; shift 2 ;;
    --work) work="$2"; shift 2 ;;
    --out) out="$2"; shift 2 ;;
    --runs) runs="$2"; shift 2 ;;
    --profile) profile="$2"; shift 2 ;;
    -h|--help) sed -n '2,22p' "$0"; exit 0 ;;
    *) sizes+=("$1"); shift ;;
  esac
done
[[ ${#sizes[@]} -gt 0 ]] || sizes=(1000 10000 100000)
[[ "$profile" == realistic || "$profile" == uniform ]] || {
  echo "unknown profile $profile: realistic or uniform" >&2
  exit 2
}

tool="$build/KorvanRef"
generate="$build/bench/korvanref_generate_tree"
floor="$build/bench/korvanref_io_floor"
measure="$build/bench/korvanref_measure"
kept_text="$build/bench/korvanref_kept_text"
for program in "$tool" "$generate" "$floor" "$measure" "$kept_text"; do
  [[ -x "$program" ]] || { echo "missing $program: build the project first" >&2; exit 1; }
done
mkdir -p "$work" "$out"

# The kinds of run, their options and their targets (run / floor at most).
# @OLD@ stands for the earlier model a comparison reads: the json run's.
kinds=(plain navigation complete json navigation+complete navigation+json+compare)
declare -A kind_options=([plain]="" [navigation]="--navigation" [complete]="--complete"
  [json]="--json" [navigation+complete]="--navigation --complete"
  [navigation+json+compare]="--navigation --json --compare @OLD@")
declare -A kind_limit=([plain]=1.2 [navigation]=1.2 [complete]=1.2 [json]=1.3
  [navigation+complete]=1.2 [navigation+json+compare]=1.2)
help_text="$("$tool" --help 2>&1 || true)"
# True when --help names every option of the kind.
supported() {
  local option
  for option in ${kind_options[$1]}; do
    [[ "$option" == --* ]] || continue
    grep -qw -e "$option" <<<"$help_text" || return 1
  done
}
run_kinds=()
for kind in "${kinds[@]}"; do
  if supported "$kind"; then run_kinds+=("$kind"); else echo "the tool has no $kind run: n/a" >&2; fi
done

# The options of a kind of run, the earlier model's path in place of @OLD@
# (a path of the work directory: no blanks).
options_of() { echo "${kind_options[$1]//@OLD@/$earlier}"; }

# Median of the numbers on standard input.
median() { sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

# Empties a destination directory (outside the timed part). Each run's
# output is removed once it is measured: the work directory is a memory file
# system, and the outputs of all kinds together (some 9 GB at N = 100 000,
# the floor's on top) leave the machine short of memory, so that the runs
# after them wrote up to six times slower (the floor of `--navigation
# --complete` at N = 100 000: 7.0 s alone, 46 s beside 10 GB of other files).
fresh_dir() { rm -rf "$1" && mkdir -p "$1"; }

# Total size of the files under a directory.
dir_bytes() { find "$1" -type f -printf '%s\n' | awk '{ s += $1 } END { printf "%.0f\n", s }'; }

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

# The data: one block per kind the tool has (for the plot), one row per N in
# each.
data="$out/bench.dat"
table="$out/table.md"
rows="$work/rows.txt"
: >"$rows"
: >"$out/trees.txt"

for n in "${sizes[@]}"; do
  tree="$work/tree-$profile-$n"
  if [[ ! -f "$tree.stats" ]]; then
    echo "generating $n $profile scripts in $tree" >&2
    rm -rf "$tree"
    "$generate" --profile "$profile" --stats "$tree" "$n" >"$tree.stats.tmp"
    mv "$tree.stats.tmp" "$tree.stats"
  fi
  read -r _ _ _ input_bytes _ largest <"$tree.stats"
  { echo "N=$n ($profile):"; tail -n +2 "$tree.stats"; } >>"$out/trees.txt"
  read -r kept models < <("$kept_text" "$tree" | tail -n 1 | awk '{ print $4, $8 }')
  earlier="$work/earlier-model-$profile-$n.json"

  # One untimed run of each kind warms the caches and tells what it writes;
  # kinds that write as many files of the same total size share one floor.
  declare -A files=() bytes=() records=() index_bytes=() floor_of=() times=() cpus=() peak=()
  floors=()
  for kind in "${run_kinds[@]}"; do
    dest="$work/out-$kind"
    fresh_dir "$dest"
    # shellcheck disable=SC2086 # the options are words
    "$tool" $(options_of "$kind") "$dest" "$tree" >"$work/console.txt"
    if [[ "$kind" == json ]]; then cp "$dest/model.json" "$earlier"; fi
    files[$kind]=$(find "$dest" -type f | wc -l)
    bytes[$kind]=$(dir_bytes "$dest")
    records[$kind]=$(find "$dest" -name '[0-9]*.html' | wc -l)
    index_bytes[$kind]=$(stat -c %s "$dest/index.html")
    rm -rf "$dest"
    key="${files[$kind]}-${bytes[$kind]}"
    [[ " ${floors[*]} " == *" $key "* ]] || floors+=("$key")
    floor_of[$kind]="$key"
    times[$kind]=""
    cpus[$kind]=""
    peak[$kind]=0
  done
  for key in "${floors[@]}"; do
    times[floor-$key]=""
    peak[floor-$key]=0
  done

  for ((r = 0; r < runs; r++)); do
    for kind in "${run_kinds[@]}"; do
      dest="$work/out-$kind"
      fresh_dir "$dest"
      # shellcheck disable=SC2086
      read -r seconds kib cpu <<<"$(measured "$work/console.txt" "$tool" $(options_of "$kind") \
        "$dest" "$tree")"
      rm -rf "$dest"
      times[$kind]+=" $seconds"
      cpus[$kind]+=" $cpu"
      if ((kib > peak[$kind])); then peak[$kind]=$kib; fi
    done
    for key in "${floors[@]}"; do
      floor_dest="$work/out-floor"
      fresh_dir "$floor_dest"
      read -r seconds kib _ <<<"$(measured /dev/null "$floor" "$tree" "$floor_dest" "${key%-*}" \
        "${key#*-}")"
      times[floor-$key]+=" $seconds"
      if ((kib > peak[floor-$key])); then peak[floor-$key]=$kib; fi
      # The floor must have written exactly as much as the runs it stands for.
      floor_bytes=$(dir_bytes "$floor_dest")
      if [[ "$floor_bytes" != "${key#*-}" ]]; then
        echo "floor wrote $floor_bytes bytes, the tool ${key#*-}" >&2
        exit 1
      fi
      rm -rf "$floor_dest"
    done
  done

  for kind in "${kinds[@]}"; do
    if [[ -z "${floor_of[$kind]:-}" ]]; then
      echo "$kind $n n/a n/a n/a n/a n/a n/a n/a n/a n/a n/a n/a n/a" >>"$rows"
      continue
    fi
    key="${floor_of[$kind]}"
    tool_s=$(tr ' ' '\n' <<<"${times[$kind]}" | grep . | median)
    cpu_s=$(tr ' ' '\n' <<<"${cpus[$kind]}" | grep . | median)
    floor_s=$(tr ' ' '\n' <<<"${times[floor-$key]}" | grep . | median)
    awk -v kind="$kind" -v n="$n" -v rec="${records[$kind]}" -v files="${files[$kind]}" \
      -v bytes="${bytes[$kind]}" -v t="$tool_s" -v f="$floor_s" -v tp="${peak[$kind]}" \
      -v input="$input_bytes" -v c="$cpu_s" -v ib="${index_bytes[$kind]}" \
      -v fp="${peak[floor-$key]}" 'BEGIN {
        bound = 0.4 * input / 1024 + 20 * 1024
        printf "%s %d %d %d %.0f %.4f %.4f %.3f %d %d %.4f %.2f %d %d\n", kind, n, rec, files, bytes,
          t, f, t / f, tp, bound, c, t / n * 1e6, ib, fp
      }' >>"$rows"
  done
  unset files bytes records index_bytes floor_of times cpus peak
  echo "N=$n: input $input_bytes bytes (largest $largest); the plain run's records keep" \
    "$kept bytes of text, the complete run's models $models bytes" \
    "($((models / n)) a script)" >&2
done

{
  echo "# kind N records files bytes tool_s floor_s ratio peak_kib rss_bound_kib cpu_s us_per_script index_bytes floor_peak_kib"
  for kind in "${run_kinds[@]}"; do
    awk -v kind="$kind" '$1 == kind' "$rows"
    printf '\n\n'
  done
} >"$data"

# The table, one row per N and kind.
{
  echo "| N | run | records | written | KorvanRef | floor | ratio | target | peak RSS | RSS bound |" \
    "CPU | us/script | index |"
  echo "| ---: | :--- | ---: | ---: | ---: | ---: | ---: | ---: | ---: | ---: | ---: | ---: | ---: |"
  for n in "${sizes[@]}"; do
    for kind in "${kinds[@]}"; do
      awk -v n="$n" -v kind="$kind" -v limit="${kind_limit[$kind]}" '$1 == kind && $2 == n {
        if ($3 == "n/a") {
          printf "| %d | %s | n/a | n/a | n/a | n/a | n/a | <= %s | n/a | n/a | n/a | n/a | n/a |\n",
            n, kind, limit
        } else {
          printf "| %d | %s | %d | %d files, %.1f MiB | %.3f s | %.3f s | %.2f | <= %s | %.1f MiB |" \
            " %.1f MiB | %.3f s | %.1f | %.1f MiB |\n", n, kind, $3, $4, $5 / 1048576, $6, $7, $8,
            limit, $9 / 1024, $10 / 1024, $11, $12, $13 / 1048576
        }
      }' "$rows"
    done
  done
} >"$table"
cat "$table"

# The targets: for every kind, run / floor within its limit at every N (the
# stretch: below 1.0 everywhere) and peak RSS within 0.4 times the tree's
# script bytes plus 20 MB; the plain run's time per script at the largest N
# at most 1.1 times that at the smallest; the navigable index at most 1.25
# times the plain one's size at the largest N.
limits=""
for kind in "${kinds[@]}"; do limits+="$kind=${kind_limit[$kind]} "; done
awk -v limits="$limits" -v first_n="${sizes[0]}" -v last_n="${sizes[${#sizes[@]} - 1]}" '
  BEGIN {
    split(limits, pairs, " ")
    for (i in pairs) { split(pairs[i], kv, "="); limit[kv[1]] = kv[2]; order[i] = kv[1] }
    count = length(pairs)
  }
  $3 == "n/a" { absent[$1] = 1; next }
  {
    seen[$1] = 1
    if ($8 > limit[$1]) missed[$1] = missed[$1] " N=" $2
    if ($8 >= 1.0) stretch_missed = stretch_missed " " $1 "@" $2
    if ($9 > $10) rss_missed = rss_missed " " $1 "@" $2
    if ($1 == "plain" && $2 == first_n) first = $12
    if ($1 == "plain" && $2 == last_n) { last = $12; plain_index = $13 }
    if ($1 == "navigation" && $2 == last_n) nav_index = $13
  }
  END {
    for (i = 1; i <= count; i++) {
      kind = order[i]
      if (!seen[kind]) { printf "%s / floor <= %s: n/a (the tool has no such run)\n", kind, limit[kind]; continue }
      printf "%s / floor <= %s at every N: %s\n", kind, limit[kind],
        (missed[kind] == "" ? "met" : "missed at" missed[kind])
    }
    print "stretch, every run below 1.0 of its floor: " (stretch_missed == "" ? "met" : "missed at" stretch_missed)
    print "peak RSS <= 0.4 x script bytes + 20 MB, every run: " (rss_missed == "" ? "met" : "missed at" rss_missed)
    if (first_n != last_n && first > 0)
      printf "plain us/script growth %.2f (<= 1.1): %s\n", last / first, (last / first <= 1.1 ? "met" : "missed")
    if (nav_index > 0 && plain_index > 0)
      printf "--navigation index %.2f of plain at the largest N (<= 1.25): %s\n", nav_index / plain_index,
        (nav_index / plain_index <= 1.25 ? "met" : "missed")
  }' "$rows" | tee "$out/targets.txt"

# The machine the figures come from.
{
  echo "CPU: $(awk -F': ' '/model name/ { print $2; exit }' /proc/cpuinfo), $(nproc) cores"
  echo "Memory: $(awk '/MemTotal/ { printf "%.0f GiB", $2 / 1048576 }' /proc/meminfo)"
  echo "System: $(uname -sr), $( (. /etc/os-release && echo "$PRETTY_NAME") 2>/dev/null || echo unknown)"
  echo "File system of the work directory: $(df -T "$work" | awk 'NR == 2 { print $2 }')"
  echo "Compiler: $(c++ --version | head -n 1)"
  echo "Scripts: $profile profile (statistics in trees.txt)"
  echo "Runs per figure: $runs (median time, highest peak RSS)"
} >"$out/machine.txt"

if command -v gnuplot >/dev/null; then
  gnuplot -e "data='$data'; output='$out/bench.png'; kinds='${run_kinds[*]}'" "$repo/bench/plot.gp"
  echo "plot: $out/bench.png"
else
  echo "gnuplot not found: no plot drawn" >&2
fi
