#!/usr/bin/env bash
# Fuzzes whole conversions: scripts/fuzz.sh SECONDS [KIND...]
# (scripts/fuzz.sh --build only builds the tree, which is also the sanitizer build of the tests;
# scripts/fuzz.sh --keep minimizes what the campaigns found into the kept corpus, fuzz/corpus/.)
#
# Builds the libFuzzer target with clang under build/fuzz, writes the seed corpus, then fuzzes each
# kind in turn for its share of SECONDS (all kinds when none is given). KIND is a label of the
# registry of file kinds (build/fuzz/fuzz/kegverter_fuzz_seeds --kinds lists them: a database name
# such as hops.dat, or an extension such as rec).
# Every campaign starts from the kept corpus (fuzz/corpus/<kind>/, in the repository: what earlier
# campaigns reached, minimized) and the seeds; the corpus grows in build/fuzz/corpus/<kind>/ from
# one campaign to the next, and --keep merges it into the kept corpus. Inputs that crash,
# leak, hang or make bad XML go to build/fuzz/findings/, and the script then exits with status 1.
# Reproduce one with: build/fuzz/fuzz/kegverter_fuzz build/fuzz/findings/<file>
set -euo pipefail
cd "$(dirname "$0")/.."

build_only=false
keep=false
if [ "${1:-}" = "--build" ]; then
  build_only=true
elif [ "${1:-}" = "--keep" ]; then
  build_only=true
  keep=true
  set -- 0
elif [ $# -lt 1 ] || ! [[ "$1" =~ ^[0-9]+$ ]] || [ "$1" -lt 1 ]; then
  echo "usage: scripts/fuzz.sh SECONDS [KIND...] | --build" >&2
  exit 2
fi
seconds=$1
shift

bash scripts/setup.sh clang libclang-rt-14-dev
mkdir -p build/fuzz
# Everything, not only the fuzzer: this build is also where clang checks our code for warnings.
# The preset `sanitizers` (CMakePresets.json): clang, -DKEGVERTER_FUZZ=ON, warnings as errors.
if ! { [ -f build/fuzz/build.ninja ] || cmake --preset sanitizers; } >build/fuzz/build.log 2>&1 ||
   ! cmake --build --preset sanitizers -j2 >>build/fuzz/build.log 2>&1; then
  cat build/fuzz/build.log >&2
  echo "fuzz: the clang build failed" >&2
  exit 1
fi

fuzzer=build/fuzz/fuzz/kegverter_fuzz
mapfile -t all_kinds < <(build/fuzz/fuzz/kegverter_fuzz_seeds --kinds)

# The smallest inputs that reach all the coverage of the kept corpus and of the campaigns'
# together replace the kept corpus; inputs over 64 KiB are left out of the repository.
if $keep; then
  for kind in "${all_kinds[@]}"; do
    kept="fuzz/corpus/$kind"
    mkdir -p "$kept" "build/fuzz/corpus/$kind"
    rm -rf "build/fuzz/keep"
    mkdir -p build/fuzz/keep build/fuzz/logs
    KEGVERTER_FUZZ_KIND="$kind" "$fuzzer" -merge=1 -rss_limit_mb=1024 -max_len=204800 \
      build/fuzz/keep "$kept" "build/fuzz/corpus/$kind" >"build/fuzz/logs/keep-$kind.log" 2>&1 || {
      echo "fuzz: merging the $kind corpus failed (build/fuzz/logs/keep-$kind.log)" >&2
      exit 1
    }
    find build/fuzz/keep -type f -size +64k -delete
    rm -rf "$kept"
    mv build/fuzz/keep "$kept"
    echo "$kind: $(find "$kept" -type f | wc -l) inputs, $(du -sk "$kept" | cut -f1) KiB"
  done
  exit 0
fi
$build_only && exit 0
kinds=("$@")
[ ${#kinds[@]} -gt 0 ] || kinds=("${all_kinds[@]}")
for kind in "${kinds[@]}"; do
  if ! [[ " ${all_kinds[*]} " == *" $kind "* ]]; then
    echo "fuzz: unknown kind $kind (expected one of: ${all_kinds[*]})" >&2
    exit 2
  fi
done
mkdir -p build/fuzz/corpus build/fuzz/findings build/fuzz/logs
build/fuzz/fuzz/kegverter_fuzz_seeds build/fuzz/corpus examples >/dev/null
for kind in "${kinds[@]}"; do mkdir -p "fuzz/corpus/$kind"; done

# A maximal recipe: 25093 fixed bytes plus 100 hops (635 bytes each), 100 fermentables (529) and
# 100 miscellaneous additions (589) is 200393 bytes; with the kind byte it fits 200 KiB.
max_len=204800
share=$(( seconds / ${#kinds[@]} ))
[ "$share" -ge 1 ] || share=1

# The fuzzer's scratch files, on a memory file system when there is one; a crashed run cannot
# clean up after itself, so the whole folder goes at the end.
scratch_base=/dev/shm
[ -d "$scratch_base" ] && [ -w "$scratch_base" ] || scratch_base=${TMPDIR:-/tmp}
scratch=$(mktemp -d "$scratch_base/kegverter-fuzz.XXXXXX")
trap 'rm -rf "$scratch"' EXIT

status=0
printf '%-10s %10s %8s %6s %6s  %s\n' kind runs exec/s cov new result
for kind in "${kinds[@]}"; do
  log="build/fuzz/logs/$kind.log"
  result=ok
  # -timeout: a conversion takes milliseconds; -rss_limit_mb also caps any single allocation.
  if ! TMPDIR="$scratch" KEGVERTER_FUZZ_KIND="$kind" "$fuzzer" \
      -max_total_time="$share" -timeout=10 -rss_limit_mb=1024 -max_len="$max_len" \
      -print_final_stats=1 -artifact_prefix="build/fuzz/findings/$kind-" \
      "build/fuzz/corpus/$kind" "fuzz/corpus/$kind" >"$log" 2>&1; then
    result="FINDING (see $log)"
    status=1
  fi
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  speed=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -1)
  added=$(sed -n 's/^stat::new_units_added: *//p' "$log" | tail -1)
  cov=$(grep -o 'cov: [0-9]*' "$log" | tail -1 | cut -d' ' -f2)
  printf '%-10s %10s %8s %6s %6s  %s\n' "$kind" "${runs:--}" "${speed:--}" "${cov:--}" \
    "${added:--}" "$result"
done

if [ "$status" -ne 0 ]; then
  echo "fuzz: findings in build/fuzz/findings/:" >&2
  ls -1 build/fuzz/findings >&2 || true
fi
exit $status
