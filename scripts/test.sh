#!/usr/bin/env bash
# Builds everything and runs every test: the suite in the normal build (build/), the formatting
# and clang-tidy checks (scripts/lint.sh), and the suite again in the
# sanitizer build (build/fuzz, clang with AddressSanitizer and UndefinedBehaviorSanitizer, which
# stop at the first report, leaks included), the batch program's tests under ThreadSanitizer
# (build/tsan, only what those tests need), a short fuzz campaign over every file kind and the
# Linux .deb (installed, used and removed), the interoperability check (scripts/interop.sh:
# Brewtarget imports and the BeerJSON schema), and the Windows stage (scripts/test-windows.sh: the
# mingw-w64 cross build, the examples compared with Linux's outputs, the suite under Wine), and
# the web stage (scripts/test-web.sh: the browser page built with Emscripten and driven in
# Chromium, its outputs compared with kegverter-batch's). Fails when any stage fails; ends with
# each stage's time.
set -euo pipefail
cd "$(dirname "$0")/.."

status=0
timings=()
# CPU seconds used so far by finished child processes (compilers, tests), which unlike the wall
# time does not grow when others share the machine. Wine's own processes are not all counted.
# `times` must run in this shell, not in a subshell of its own.
times_file=$(mktemp)
trap 'rm -f "$times_file"' EXIT
children_cpu() {
  times >"$times_file"
  cpu_now=$(awk 'NR == 2 { split($1, u, /[ms]/); split($2, s, /[ms]/);
                           printf "%d", u[1] * 60 + u[2] + s[1] * 60 + s[2] }' "$times_file")
}
# stage NAME COMMAND...: runs one stage, notes its wall and CPU time and whether it failed.
stage() {
  local name=$1 start cpu result=ok
  shift
  echo "== $name"
  start=$SECONDS
  children_cpu
  cpu=$cpu_now
  "$@" || { result=FAILED; status=1; }
  children_cpu
  timings+=("$(printf '%-58s %5ss wall %5ss CPU  %s' "$name" $((SECONDS - start)) \
    $((cpu_now - cpu)) "$result")")
}

run_tests() { ctest --preset default -j2; }
# The sanitizer tree is the fuzzer's: clang with AddressSanitizer and UndefinedBehaviorSanitizer,
# every program and test built in it, so one build serves both the suite and the campaign.
build_sanitize() { bash scripts/fuzz.sh --build; }
run_sanitize() { ctest --preset sanitizers -j2; }

# kegverter-batch converts on several threads in one process: its tests run again with the
# program, the converter and the tests built with ThreadSanitizer, which stops at the first race.
# The preset `tsan` builds only the batch tests (and the programs they run) and runs only them.
run_tsan() {
  if [ ! -f build/tsan/build.ninja ]; then
    cmake --preset tsan
  fi
  cmake --build --preset tsan -j2 && ctest --preset tsan -j2
}

stage "build (build/)" bash scripts/build.sh -DKEGVERTER_WERROR=ON
stage "tests (build/)" run_tests
stage "formatting and clang-tidy (build/)" bash scripts/lint.sh
stage "sanitizer build, clang (build/fuzz/)" build_sanitize
stage "tests under AddressSanitizer and UBSan (build/fuzz/)" run_sanitize
stage "batch tests under ThreadSanitizer (build/tsan/)" run_tsan
stage "short fuzz campaign (build/fuzz/)" bash scripts/fuzz.sh 20
stage "Linux package: install, convert, remove (build/package/)" bash scripts/check-deb.sh
stage "interoperability: Brewtarget imports, BeerJSON schema (build/interop/)" bash scripts/interop.sh
stage "Windows: cross build, examples, suite under Wine (build/windows/)" bash scripts/test-windows.sh
stage "web: the page in Chromium, compared with kegverter-batch (build/web/)" bash scripts/test-web.sh

echo "== time per stage (load average now: $(cut -d' ' -f1-3 /proc/loadavg))"
printf '%s\n' "${timings[@]}"
exit $status
