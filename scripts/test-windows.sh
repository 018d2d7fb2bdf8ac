#!/usr/bin/env bash
# The Windows stage of the test command: cross-builds every program and test program under
# build/windows (warnings as errors), converts every example with kegverter.exe, and with
# kegverter-batch.exe to BeerJSON and BeerXML 1.0, comparing the outputs byte for byte with the
# Linux build's (build/kegverter and build/kegverter-batch, which scripts/build.sh makes), then
# runs the whole test suite under Wine (gtest shards in parallel, a Wine prefix of its own in
# build/windows/wineprefix, made once by a setup test before the shards).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build-windows.sh -DKEGVERTER_WERROR=ON

build=build/windows
export WINEPREFIX="$PWD/$build/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
wine=$(sed -n 's/^KEGVERTER_WINE:[A-Z]*=//p' "$build/CMakeCache.txt")
if [ -z "$wine" ] || [ ! -x "$wine" ]; then
  echo "test-windows: Wine (wine64) not found" >&2
  exit 1
fi
wineserver=$(sed -n 's/^KEGVERTER_WINESERVER:[A-Z]*=//p' "$build/CMakeCache.txt")
# Wine's server and service processes outlive the programs that start them, holding on to their
# standard output and error: they are started here with neither, and stopped at the end.
"$wineserver" -p60 </dev/null >/dev/null 2>&1 || true
"$wine" wineboot --init </dev/null >/dev/null 2>&1
trap '"$wineserver" -k 2>/dev/null || true' EXIT

status=0
echo "== examples: Windows outputs against Linux outputs"
for program in kegverter kegverter-batch; do
  if [ ! -x "build/$program" ]; then
    echo "test-windows: build/$program is missing (run scripts/build.sh first)" >&2
    exit 1
  fi
done
windows="$build/examples" linux="$build/examples-linux"
rm -rf "$windows" "$linux"
compared=0
# compare FILE: the Windows output against the Linux one.
compare() {
  if ! cmp -s "$linux/$1" "$windows/$1"; then
    echo "DIFFERS   $1" >&2
    status=1
  fi
  compared=$((compared + 1))
}
# The console texts differ in their line ends only.
compare_console() {
  if ! tr -d '\r' <"$windows/$1" | cmp -s - "$linux/$1"; then
    echo "DIFFERS   console text $1" >&2
    status=1
  fi
}
# BeerXML 2.01 by kegverter, one run per example.
mkdir -p "$windows/xml2" "$linux/xml2"
cp examples/* "$windows/xml2/"
cp examples/* "$linux/xml2/"
for input in examples/*; do
  name=$(basename "$input")
  build/kegverter "$linux/xml2/$name" >"$linux/xml2/$name.console" || true
  "$wine" "$build/kegverter.exe" "$windows/xml2/$name" >"$windows/xml2/$name.console" || true
  compare "xml2/${name%???}xml"
  compare_console "xml2/$name.console"
done
# BeerJSON and BeerXML 1.0 by kegverter-batch, one run per format.
for format in beerjson beerxml1; do
  mkdir -p "$windows/$format" "$linux/$format"
  build/kegverter-batch -q --to "$format" -o "$linux/$format" examples || status=1
  "$wine" "$build/kegverter-batch.exe" -q --to "$format" -o "$windows/$format" examples || status=1
  if [ "$(ls "$linux/$format")" != "$(ls "$windows/$format")" ]; then
    echo "DIFFERS   the $format outputs' names" >&2
    status=1
  fi
  for output in "$linux/$format"/*; do
    compare "$format/$(basename "$output")"
  done
done
echo "examples: $compared outputs compared, $([ $status -eq 0 ] && echo identical || echo 'see above')"

# The whole suite; its last test stops Wine's server.
ctest --preset windows -j2 || status=1
exit $status
