#!/usr/bin/env bash
# Benchmark of whole conversions against two floors measured in the same run, on the same files:
# `cp` of the input (starting a process and moving the bytes) and `xmllint --noout` of the
# produced XML (reading the result with a mainstream XML library). Prints a table of medians and
# ratios and checks the targets. Then kegverter-batch over whole folders (1,000 and 10,000
# recipes, a nested library of every kind) against `cp -r` of the same folder and against the
# one-process-per-file loop. See bench/README.md.
#
# usage: bash bench/run.sh [--runs N] [--batch-runs N] [--large N] [--folders-only]
#   --runs N        runs per single-file input (default 5)
#   --batch-runs N  runs of the 1,000-recipe batch and of each kegverter-batch folder (default 3)
#   --large N       records in the large databases (default 100000)
#   --folders-only  only the one-process-per-file loop and kegverter-batch over whole folders
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

runs=5
batch_runs=3
large=100000
folders_only=no
while [ $# -gt 0 ]; do
  case "$1" in
    --runs) runs=$2; shift 2 ;;
    --batch-runs) batch_runs=$2; shift 2 ;;
    --large) large=$2; shift 2 ;;
    --folders-only) folders_only=yes; shift ;;
    *) echo "usage: bash bench/run.sh [--runs N] [--batch-runs N] [--large N] [--folders-only]" >&2
       exit 2 ;;
  esac
done

# What the benchmark needs: the build tools and xmllint.
bash scripts/setup.sh libxml2-utils
if [ ! -f build/build.ninja ]; then
  cmake --preset default
fi
cmake --build --preset default --target kegverter kegverter-batch bench_generate bench_measure

kegverter=$root/build/kegverter
batch_program=$root/build/kegverter-batch
measure=$root/build/bench/bench_measure
data=$root/build/bench-data
scratch=$root/build/bench-scratch

# The inputs are made once per generator build and size. Whatever is to go (older inputs, a
# scratch folder a killed run left) is moved aside and deleted only at the end: see
# bench_program for why nothing is deleted before the measurements.
stale="$root/build/bench-stale-$$"
mkdir -p "$stale"
trap 'rm -rf "$scratch" "$stale"' EXIT
stamp="$data/.made-by-$(stat -c %Y build/bench/bench_generate)-$large"
if [ ! -f "$stamp" ]; then
  echo "bench: generating inputs in $data"
  if [ -e "$data" ]; then mv "$data" "$stale/data"; fi
  build/bench/bench_generate "$data" "$large"
  touch "$stamp"
fi
if [ -e "$scratch" ]; then mv "$scratch" "$stale/scratch"; fi
mkdir -p "$scratch/copies"

# One measured run: prints "<seconds> <peak KiB>"; stops the benchmark when the command fails.
measure_once() {
  local result
  result=$("$measure" "$@")
  read -r seconds kib code <<<"$result"
  if [ "$code" != 0 ]; then
    echo "bench: '$*' exited with $code" >&2
    exit 1
  fi
  echo "$seconds $kib"
}

median() {
  sort -g | awk '{ v[NR] = $1 }
    END { if (NR % 2) print v[(NR + 1) / 2]; else print (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

# Rows of the table, one per input: label records in_bytes out_bytes conv_s cp_s lint_s conv_kib.
rows=()

# Converts one file `runs` times, each run next to a cp of the input and an xmllint of the output.
bench_file() {
  local label=$1 records=$2 input=$3
  local output="${input%???}xml"
  local conv_t=() conv_m=() cp_t=() lint_t=() res
  for ((i = 0; i < runs; i++)); do
    res=$(measure_once cp "$input" "$scratch/copies/")
    cp_t+=("${res% *}")
    res=$(measure_once "$kegverter" "$input")
    conv_t+=("${res% *}"); conv_m+=("${res#* }")
    res=$(measure_once xmllint --noout "$output")
    lint_t+=("${res% *}")
  done
  rows+=("$label $records $(stat -c %s "$input") $(stat -c %s "$output") \
$(printf '%s\n' "${conv_t[@]}" | median) $(printf '%s\n' "${cp_t[@]}" | median) \
$(printf '%s\n' "${lint_t[@]}" | median) $(printf '%s\n' "${conv_m[@]}" | median)")
  echo "bench: $label done" >&2
}

# Empties the files below the folders given without deleting them: their pages leave the page
# cache for the next run to reuse. On a virtual machine, memory the guest has not used before is
# slow to write the first time (the host provides it then), and runs that only ever add files
# would fill ever more of it: `cp -r` of the 10,000 recipes then takes seven times as long a file
# as its first run.
release() {
  sync
  find "$@" -type f -exec truncate -s 0 {} +
  sync
}

# The batch, one process per file as a shell loop runs it, against the same loop with cp and
# with xmllint over the outputs.
bench_batch() {
  local files outputs
  local conv_t=() conv_m=() cp_t=() lint_t=() res
  for ((i = 0; i < batch_runs; i++)); do
    # Each run on its own copy of the recipes, so that no run replaces (and so deletes) the
    # previous run's outputs; see bench_program for why.
    mkdir "$scratch/loop-$i" "$scratch/copies-$i"
    cp "$data"/batch/*.rec "$scratch/loop-$i/"
    files=("$scratch/loop-$i"/*.rec)
    outputs=("${files[@]/%.rec/.xml}")
    sync
    res=$(measure_once bash -c 'for f; do cp "$f" "'"$scratch/copies-$i"'/"; done' _ "${files[@]}")
    cp_t+=("${res% *}")
    res=$(measure_once bash -c 'for f; do "'"$kegverter"'" "$f"; done' _ "${files[@]}")
    conv_t+=("${res% *}"); conv_m+=("${res#* }")
    res=$(measure_once bash -c 'for f; do xmllint --noout "$f"; done' _ "${outputs[@]}")
    lint_t+=("${res% *}")
    if ((i + 1 < batch_runs)); then release "$scratch/loop-$i" "$scratch/copies-$i"; fi
  done
  local in_bytes out_bytes
  in_bytes=$(cat "${files[@]}" | wc -c)
  out_bytes=$(cat "${outputs[@]}" | wc -c)
  loop_s=$(printf '%s\n' "${conv_t[@]}" | median)
  rows+=("batch-1000-recipes ${#files[@]} $in_bytes $out_bytes \
$(printf '%s\n' "${conv_t[@]}" | median) $(printf '%s\n' "${cp_t[@]}" | median) \
$(printf '%s\n' "${lint_t[@]}" | median) $(printf '%s\n' "${conv_m[@]}" | median)")
  echo "bench: batch done" >&2
}

# How long making an empty file takes where the folders go. Right after many deletions (a previous
# run's cleanup, a test suite) ext4 without a journal takes many times as long, until those
# deletions are some minutes old: the benchmark waits for that, up to ten minutes, so that the
# figures are the programs' and not the deletions'.
create_cost() {
  local res
  res=$(measure_once bash -c 'mkdir "$1"; for ((i = 0; i < 2000; i++)); do : > "$1/f$i"; done' _ \
    "$scratch/probe-$BASHPID")
  echo "${res% *}" | awk '{ printf "%d", $1 / 2000 * 1e6 }'
}
settle_deadline=$((SECONDS + 600))
sync
while cost=$(create_cost) && [ "$cost" -gt 150 ] && [ "$SECONDS" -lt "$settle_deadline" ]; do
  echo "bench: making a file takes $cost us here now (recent deletions); waiting for it to settle" >&2
  sleep 30
  sync
done
echo "bench: making a file takes $cost us" >&2
echo "bench: $(nproc) cores, load $(cut -d' ' -f1-3 /proc/loadavg), $runs runs per file" >&2
if [ "$folders_only" = no ]; then
  bench_file typical-recipe 1 "$data/typical/Typical.rec"
  bench_file maximal-recipe 1 "$data/maximal/Maximal.rec"
fi
bench_batch
if [ "$folders_only" = no ]; then
  for kind in extra hops malt styles water yeast; do
    bench_file "$kind-1000" 1000 "$data/db1k/$kind.dat"
    bench_file "$kind-10000" 10000 "$data/db10k/$kind.dat"
    bench_file "$kind-$large" "$large" "$data/db100k/$kind.dat"
  done
fi

# kegverter-batch over a whole folder, `batch_runs` times, each run next to a `cp -r` of the same
# folder. The page cache is written back before each measured command, so that neither pays for
# the other's writes. Every run writes into new folders, and nothing is deleted until the end:
# ext4 without a journal passes over the inodes freed in the last minute or more each time it
# makes a file, so that files made shortly after many were deleted take several times as long,
# for `cp -r` and the batch alike, and the ratio would be the deletions'. Rows: label files
# batch_s cp_s batch_kib.
program_rows=()
bench_program() {
  local label=$1 folder=$2
  local prog_t=() prog_m=() cp_t=() durable_t=() res files
  files=$(find "$folder" -type f | wc -l)
  for ((i = 0; i < batch_runs; i++)); do
    sync
    res=$(measure_once cp -r "$folder" "$scratch/$label-copy-$i")
    cp_t+=("${res% *}")
    # The same copy made durable, as the batch makes its outputs: its file system flushed after.
    sync
    res=$(measure_once sh -c 'cp -r "$1" "$2" && sync -f "$2"' sh "$folder" \
      "$scratch/$label-durable-$i")
    durable_t+=("${res% *}")
    sync
    res=$(measure_once "$batch_program" -q -o "$scratch/$label-out-$i" "$folder")
    prog_t+=("${res% *}"); prog_m+=("${res#* }")
    if [ "$(find "$scratch/$label-out-$i" -type f | wc -l)" != "$files" ]; then
      echo "bench: kegverter-batch did not write one output per file of $folder" >&2
      exit 1
    fi
    release "$scratch/$label-copy-$i" "$scratch/$label-durable-$i" "$scratch/$label-out-$i"
  done
  program_rows+=("$label $files $(printf '%s\n' "${prog_t[@]}" | median) \
$(printf '%s\n' "${cp_t[@]}" | median) $(printf '%s\n' "${prog_m[@]}" | median) \
$(printf '%s\n' "${durable_t[@]}" | median)")
  echo "bench: kegverter-batch $label done" >&2
}

# 10,000 recipes: the batch's recipes ten times over, as hard links (no more disk for inputs).
if [ ! -d "$data/batch10k" ]; then
  for i in 0 1 2 3 4 5 6 7 8 9; do
    mkdir -p "$data/batch10k/$i"
    ln "$data"/batch/*.rec "$data/batch10k/$i/"
  done
fi
# The 1,000-recipe batch without the outputs the loop left beside it.
if [ ! -d "$data/batch1k" ]; then
  mkdir -p "$data/batch1k"
  ln "$data"/batch/*.rec "$data/batch1k/"
fi
bench_program batch-1000-recipes "$data/batch1k"
bench_program batch-10000-recipes "$data/batch10k"
bench_program library "$data/library"

# The table and the target checks.
[ "$folders_only" = yes ] || printf '%s\n' "${rows[@]}" | awk -v large="$large" -v load="$(cut -d' ' -f1-3 /proc/loadavg)" '
function mib(b) { return b / 1048576 }
{
  label[NR] = $1; records[NR] = $2; in_b[NR] = $3; out_b[NR] = $4
  conv[NR] = $5; cp[NR] = $6; lint[NR] = $7; peak[NR] = $8 * 1024
  index_of[$1] = NR
}
END {
  printf "%-20s %7s %8s %8s %9s %8s %10s %8s %8s %9s %8s\n", "input", "records", "in MiB",
         "out MiB", "conv ms", "cp ms", "xmllint ms", "conv/cp", "conv/xml", "peak MiB",
         "peak/out"
  for (i = 1; i <= NR; i++) {
    # The batch peak is that of its largest process: no ratio to the whole batch output.
    ratio = label[i] ~ /^batch/ ? "-" : sprintf("%.2f", peak[i] / out_b[i])
    printf "%-20s %7d %8.2f %8.2f %9.1f %8.1f %10.1f %8.2f %8.2f %9.1f %8s\n", label[i],
           records[i], mib(in_b[i]), mib(out_b[i]), conv[i] * 1000, cp[i] * 1000,
           lint[i] * 1000, conv[i] / cp[i], conv[i] / lint[i], mib(peak[i]), ratio
  }
  printf "\nload average at the end: %s\n\nTargets:\n", load
  t = index_of["typical-recipe"]
  r = conv[t] / cp[t]
  printf "  typical recipe: conversion <= 2x cp: %.2fx, %s\n", r, r <= 2 ? "met" : "NOT MET"
  split("extra hops malt styles water yeast", kinds, " ")
  for (k = 1; k <= 6; k++) {
    big = index_of[kinds[k] "-" large]
    rt = conv[big] / lint[big]; rm = peak[big] / out_b[big]
    printf "  %-6s %d records: conversion <= xmllint: %.2fx, %s; peak <= 3x output: %.2fx, %s\n",
           kinds[k], large, rt, rt <= 1 ? "met" : "NOT MET", rm, rm <= 3 ? "met" : "NOT MET"
  }
  # Growth: the cost of each further record from 1,000 to 10,000 records and from 10,000 to the
  # large size, so that start-up costs drop out. Linear when the second is at most 1.25 times the
  # first (and not much below it either would be worth a look, but costs that shrink are fine).
  printf "\nGrowth per further record (1,000 to 10,000 | 10,000 to %d records):\n", large
  for (k = 1; k <= 6; k++) {
    a = index_of[kinds[k] "-1000"]; b = index_of[kinds[k] "-10000"]
    c = index_of[kinds[k] "-" large]
    t1 = (conv[b] - conv[a]) / 9000 * 1e6; t2 = (conv[c] - conv[b]) / (large - 10000) * 1e6
    m1 = (peak[b] - peak[a]) / 9000; m2 = (peak[c] - peak[b]) / (large - 10000)
    printf "  %-6s time %6.2f | %6.2f us, memory %6.0f | %6.0f bytes: %s\n", kinds[k], t1, t2,
           m1, m2, (t2 <= 1.25 * t1 && m2 <= 1.25 * m1) ? "linear" : "NOT LINEAR"
  }
}'

# The kegverter-batch table and its targets.
printf '%s\n' "${program_rows[@]}" | awk -v loop="$loop_s" -v runs="$batch_runs" -v create="$cost" '
{ label[NR] = $1; files[NR] = $2; prog[NR] = $3; cp[NR] = $4; peak[NR] = $5 / 1024
  durable[NR] = $6; at[$1] = NR }
END {
  printf "\nkegverter-batch -o OUT FOLDER against cp -r FOLDER OUT2, and against the same copy flushed to disk\n"
  printf "(cp -r FOLDER OUT3 && sync -f OUT3), as the batch flushes its outputs (medians of %d runs; making an\n", runs
  printf "empty file took %d us before):\n", create
  printf "%-20s %6s %10s %10s %9s %12s %8s %9s\n", "folder", "files", "batch ms", "cp -r ms",
         "batch/cp", "cp+sync ms", "ms/file", "peak MiB"
  for (i = 1; i <= NR; i++) {
    printf "%-20s %6d %10.1f %10.1f %9.2f %12.1f %8.3f %9.1f\n", label[i], files[i],
           prog[i] * 1000, cp[i] * 1000, prog[i] / cp[i], durable[i] * 1000,
           prog[i] * 1000 / files[i], peak[i]
  }
  a = at["batch-1000-recipes"]; b = at["batch-10000-recipes"]; l = at["library"]
  r = prog[a] / cp[a]; s = loop / prog[a]
  printf "\nTargets:\n"
  printf "  1,000 recipes: kegverter-batch <= 1.5x cp -r: %.2fx, %s\n", r, (r <= 1.5 ? "met" : "NOT MET")
  printf "  1,000 recipes: against cp -r with its copies flushed to disk: %.2fx\n", prog[a] / durable[a]
  printf "  1,000 recipes: >= 20x faster than one process per file (%.0f ms): %.1fx, %s\n",
         loop * 1000, s, (s >= 20 ? "met" : "NOT MET")
  pa = prog[a] / files[a]; pb = prog[b] / files[b]
  # Within a tenth: the machine is shared, and both are medians of a few runs.
  printf "  10,000 recipes: time per file no worse than at 1,000: %.3f ms against %.3f ms, %s\n",
         pb * 1000, pa * 1000, (pb <= 1.1 * pa ? "met" : "NOT MET")
  # The run holds a 16-byte key per input (so that colliding outputs are found before anything is
  # written) and a bounded number of entries between its walk and its report; flat, not constant.
  printf "  10,000 recipes: peak memory %.1f MiB against %.1f MiB at 1,000: %.0f bytes per further file, %s\n",
         peak[b], peak[a], (peak[b] - peak[a]) * 1048576 / (files[b] - files[a]),
         (peak[b] <= 1.1 * peak[a] ? "flat" : "NOT FLAT")
  printf "  library (%d files): %.2fx cp -r\n", files[l], prog[l] / cp[l]
}'
