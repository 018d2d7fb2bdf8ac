#!/usr/bin/env bash
# The web stage: builds kegverter-batch and the benchmark's generator (build/, what they need
# only) and the page (scripts/build-web.sh), makes the inputs under build/web-test/ (the
# examples, a small generated library with colliding outputs, damaged, empty and unknown files, a
# 100,000-record hop database), checks the web build's number texts against libstdc++
# (web/compat/check.cc), installs puppeteer-core from web/tests/package-lock.json (npm ci)
# and runs web/tests/page.test.js in Debian's Chromium: every output and the zip compared byte
# for byte with kegverter-batch's, the rows of bad files, the requests the page makes, the recipe
# card, screenshots into build/web/screenshots/, and the 100,000-record timing (printed; it goes
# to bench/README.md by hand).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh chromium
if [ ! -f build/build.ninja ]; then
  cmake --preset default >/dev/null
fi
cmake --build --preset default -j2 --target kegverter-batch bench_generate
bash scripts/build-web.sh

data=build/web-test
rm -rf "$data"
mkdir -p "$data"
# The generator writes every benchmark input in a few seconds; the tests take a small part.
build/bench/bench_generate "$data/generated" 100000 >/dev/null
gen=$data/generated
lib=$data/library
mkdir -p "$lib/recipes" "$lib/mash" "$lib/water" "$lib/collide"
cp -r "$gen/library/recipes/2010" "$gen/library/recipes/2019" "$lib/recipes/"
cp -r "$gen/library/mash/group 0" "$lib/mash/"
# (sed, not head: head leaves before sort is done, and pipefail would stop the script on sort's
# broken pipe.)
find "$gen/library/water" -type f | sort | sed -n 1,10p | xargs -I{} cp {} "$lib/water/"
cp "$gen"/db1k/*.dat "$lib/"
# Outputs that meet: Brew.rec and Brew.msh both make Brew.xml (and Brew.json).
first_recipe=$(find "$lib/recipes" -name '*.rec' | sort | sed -n 1p)
first_mash=$(find "$lib/mash" -name '*.msh' | sort | sed -n 1p)
cp "$first_recipe" "$lib/collide/Brew.rec"
cp "$first_mash" "$lib/collide/Brew.msh"
cp "$first_recipe" "$lib/collide/Brew.rec.rec"
mkdir -p "$data/large"
mv "$gen/db100k/hops.dat" "$data/large/hops.dat"
rm -rf "$gen"
# Damaged, empty, unknown and not converted files.
bad=$data/bad
mkdir -p "$bad"
head -c 20000 "examples/Pale Ale.rec" >"$bad/Damaged.rec"
head -c 1000 examples/hops.dat >"$bad/hops.dat"
: >"$bad/empty.rec"
echo "a shopping list" >"$bad/notes.txt"
printf 'xx' >"$bad/session.brw"
# A file that goes away after it was picked, while a large database keeps the page busy.
mkdir -p "$data/vanishing/a" "$data/vanishing/b"
ln "$data/large/hops.dat" "$data/vanishing/a/hops.dat"
cp "examples/Pale Ale.rec" "$data/vanishing/b/Gone.rec"

# The number texts the web build's charconv (web/compat/compat.h) writes and reads, against
# libstdc++'s std::to_chars and std::from_chars.
g++ -std=c++20 -O2 -Wall -Wextra -Werror -DKEGVERTER_WEB_COMPAT_CHECK web/compat/check.cc \
  -o "$data/compat-check"
"$data/compat-check" 20000

(cd web/tests && npm ci --no-audit --no-fund --loglevel=error)
export KEGVERTER_BATCH=$PWD/build/kegverter-batch KEGVERTER_WEB_DIR=$PWD/build/web
export KEGVERTER_WEB_DATA=$PWD/$data KEGVERTER_EXAMPLES=$PWD/examples
node --test --test-reporter=spec web/tests/page.test.js
