#!/usr/bin/env bash
# Builds everything and runs every test: the suite in the normal build (build/) and again in the
# sanitizer build (build/sanitize, AddressSanitizer and UndefinedBehaviorSanitizer, which stop at
# the first report, leaks included), then a short fuzz campaign over every file kind, then the
# interoperability check (scripts/interop.sh: Brewtarget imports, installed when missing).
# Fails when any of the three fails.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh -DKEGVERTER_WERROR=ON

status=0
echo "== tests (build/)"
ctest --test-dir build --output-on-failure -j2 || status=1

echo "== tests under AddressSanitizer and UndefinedBehaviorSanitizer (build/sanitize/)"
if [ ! -f build/sanitize/build.ninja ]; then
  cmake -S . -B build/sanitize -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKEGVERTER_SANITIZE=ON -DKEGVERTER_BENCH=OFF -DKEGVERTER_WERROR=ON
fi
cmake --build build/sanitize -j2
ctest --test-dir build/sanitize --output-on-failure -j2 || status=1

echo "== short fuzz campaign (build/fuzz/)"
bash scripts/fuzz.sh 20 || status=1

echo "== interoperability: Brewtarget imports, BeerJSON schema (build/interop/)"
bash scripts/interop.sh || status=1

exit $status
