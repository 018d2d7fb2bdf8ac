#!/usr/bin/env bash
# The output formats side by side: each 100,000-record database and the typical and maximal
# recipes converted in process (bench_convert_to: the same reading, the same crash-safe write)
# to BeerXML 2.01, to BeerJSON and to BeerXML 1.0, in turn, N runs each; medians of the wall
# time and the peak memory, and the targets: BeerJSON and BeerXML 1.0 each within 1.5x the
# BeerXML 2.01 time, peak memory not above it. The peak the kernel reports for the same run of
# the same program differs by 128 KiB from one run to the next (it settles its per-CPU page
# counts in batches of 32 pages), so a median up to 128 KiB above counts as not above. Uses the
# inputs of bench/run.sh (generated here when missing).
#
# usage: bash bench/formats.sh [--runs N] [--large N]
set -euo pipefail
cd "$(dirname "$0")/.."

runs=5
large=100000
while [ $# -gt 0 ]; do
  case "$1" in
    --runs) runs=$2; shift 2 ;;
    --large) large=$2; shift 2 ;;
    *) echo "usage: bash bench/formats.sh [--runs N] [--large N]" >&2; exit 2 ;;
  esac
done

bash scripts/setup.sh
if [ ! -f build/build.ninja ]; then
  cmake --preset default
fi
cmake --build --preset default --target bench_generate bench_measure bench_convert_to

data=build/bench-data
stamp="$data/.made-by-$(stat -c %Y build/bench/bench_generate)-$large"
if [ ! -f "$stamp" ]; then
  echo "bench: generating inputs in $data"
  rm -rf "$data"
  build/bench/bench_generate "$data" "$large"
  touch "$stamp"
fi
measure=build/bench/bench_measure
convert=build/bench/bench_convert_to

median() {
  sort -g | awk '{ v[NR] = $1 }
    END { if (NR % 2) print v[(NR + 1) / 2]; else print (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

inputs=("$data/typical/Typical.rec" "$data/maximal/Maximal.rec")
for kind in extra hops malt styles water yeast; do inputs+=("$data/db100k/$kind.dat"); done

printf '%-22s %9s %9s %9s %6s %6s %9s %9s %9s %6s %6s %8s %8s %8s\n' input "xml2 ms" "json ms" \
  "xml1 ms" "j/x2" "x1/x2" "xml2 MiB" "json MiB" "xml1 MiB" "j/x2" "x1/x2" "xml2 out" "json out" \
  "xml1 out"
worst_time=0
worst_memory=0
worst_excess=-1000000
worst_time1=0
worst_memory1=0
worst_excess1=-1000000
max() { awk -v a="$1" -v b="$2" 'BEGIN{print (b > a) ? b : a}'; }
for input in "${inputs[@]}"; do
  xt=() xm=() jt=() jm=() yt=() ym=()
  for ((i = 0; i < runs; i++)); do
    read -r s k c <<<"$("$measure" "$convert" beerxml2 "$input")"
    [ "$c" = 0 ] || { echo "bench: beerxml2 $input exited with $c" >&2; exit 1; }
    xt+=("$s"); xm+=("$k")
    xo=$(stat -c %s "${input%???}xml")
    read -r s k c <<<"$("$measure" "$convert" beerjson "$input")"
    [ "$c" = 0 ] || { echo "bench: beerjson $input exited with $c" >&2; exit 1; }
    jt+=("$s"); jm+=("$k")
    # BeerXML 1.0 writes the same NAME.xml: its size is taken before the next BeerXML 2.01 run.
    read -r s k c <<<"$("$measure" "$convert" beerxml1 "$input")"
    [ "$c" = 0 ] || { echo "bench: beerxml1 $input exited with $c" >&2; exit 1; }
    yt+=("$s"); ym+=("$k")
    yo=$(stat -c %s "${input%???}xml")
  done
  x_t=$(printf '%s\n' "${xt[@]}" | median); j_t=$(printf '%s\n' "${jt[@]}" | median)
  x_m=$(printf '%s\n' "${xm[@]}" | median); j_m=$(printf '%s\n' "${jm[@]}" | median)
  y_t=$(printf '%s\n' "${yt[@]}" | median); y_m=$(printf '%s\n' "${ym[@]}" | median)
  label="${input#"$data"/}"
  awk -v l="$label" -v xt="$x_t" -v jt="$j_t" -v yt="$y_t" -v xm="$x_m" -v jm="$j_m" -v ym="$y_m" \
      -v xo="$xo" -v jo="$(stat -c %s "${input%???}json")" -v yo="$yo" 'BEGIN {
    printf "%-22s %9.1f %9.1f %9.1f %6.2f %6.2f %9.1f %9.1f %9.1f %6.2f %6.2f %7.1fM %7.1fM %7.1fM\n",
           l, xt * 1000, jt * 1000, yt * 1000, jt / xt, yt / xt, xm / 1024, jm / 1024, ym / 1024,
           jm / xm, ym / xm, xo / 1048576, jo / 1048576, yo / 1048576 }'
  if [[ "$input" == *db100k* ]]; then
    worst_time=$(max "$worst_time" "$(awk -v x="$x_t" -v j="$j_t" 'BEGIN{print j/x}')")
    worst_memory=$(max "$worst_memory" "$(awk -v x="$x_m" -v j="$j_m" 'BEGIN{print j/x}')")
    worst_excess=$(max "$worst_excess" "$(awk -v x="$x_m" -v j="$j_m" 'BEGIN{print j-x}')")
    worst_time1=$(max "$worst_time1" "$(awk -v x="$x_t" -v y="$y_t" 'BEGIN{print y/x}')")
    worst_memory1=$(max "$worst_memory1" "$(awk -v x="$x_m" -v y="$y_m" 'BEGIN{print y/x}')")
    worst_excess1=$(max "$worst_excess1" "$(awk -v x="$x_m" -v y="$y_m" 'BEGIN{print y-x}')")
  fi
done
echo
echo "load average at the end: $(cut -d' ' -f1-3 /proc/loadavg)"
target() {
  awk -v f="$1" -v t="$2" -v m="$3" -v e="$4" -v n="$large" 'BEGIN {
    printf "Targets (%d-record databases): %s time <= 1.5x BeerXML 2.01: worst %.2fx, %s; ", n, f,
           t, t <= 1.5 ? "met" : "NOT MET"
    printf "peak memory <= BeerXML 2.01: worst %.3fx (%+d KiB), %s\n", m, e,
           e <= 128 ? "met" : "NOT MET" }'
}
target BeerJSON "$worst_time" "$worst_memory" "$worst_excess"
target "BeerXML 1.0" "$worst_time1" "$worst_memory1" "$worst_excess1"
