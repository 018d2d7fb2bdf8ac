#!/usr/bin/env bash
# Builds everything and runs every test: the suite in the normal build (build/) and again in the
# sanitizer build (build/sanitize, AddressSanitizer and UndefinedBehaviorSanitizer, which stop at
# the first report, leaks included), the batch program's tests under ThreadSanitizer (build/tsan,
# only what those tests need), then a short fuzz campaign over every file kind.
# Fails when any of the four fails.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh

status=0
echo "== tests (build/)"
ctest --test-dir build --output-on-failure -j2 || status=1

echo "== tests under AddressSanitizer and UndefinedBehaviorSanitizer (build/sanitize/)"
if [ ! -f build/sanitize/build.ninja ]; then
  cmake -S . -B build/sanitize -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKEGVERTER_SANITIZE=ON -DKEGVERTER_BENCH=OFF
fi
cmake --build build/sanitize -j2
ctest --test-dir build/sanitize --output-on-failure -j2 || status=1

# kegverter-batch converts on several threads in one process: its tests run again with the
# program, the converter and the tests built with ThreadSanitizer, which stops at the first race.
echo "== batch tests under ThreadSanitizer (build/tsan/)"
if [ ! -f build/tsan/build.ninja ]; then
  cmake -S . -B build/tsan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKEGVERTER_TSAN=ON -DKEGVERTER_BENCH=OFF
fi
cmake --build build/tsan -j2 --target kegverter_batch_tests
ctest --test-dir build/tsan --output-on-failure -j2 -R '^Batch' || status=1

echo "== short fuzz campaign (build/fuzz/)"
bash scripts/fuzz.sh 20 || status=1

exit $status
