#!/usr/bin/env bash
# The Windows stage of the test command: cross-builds every program and the test program under
# build/windows, runs the whole test suite under Wine (gtest shards in parallel, a Wine prefix of
# its own in build/windows/wineprefix, made once by a setup test before the shards), then
# converts every example with kegverter.exe and compares the outputs byte for byte with the
# Linux build's (build/kegverter, which scripts/build.sh makes).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build-windows.sh

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
if [ ! -x build/kegverter ]; then
  echo "test-windows: build/kegverter is missing (run scripts/build.sh first)" >&2
  exit 1
fi
rm -rf "$build/examples" "$build/examples-linux"
mkdir -p "$build/examples" "$build/examples-linux"
cp examples/* "$build/examples/"
cp examples/* "$build/examples-linux/"
compared=0
for input in "$build"/examples/*; do
  name=$(basename "$input")
  output="${name%???}xml"
  build/kegverter "$build/examples-linux/$name" >"$build/examples-linux/$name.console" || true
  "$wine" "$build/kegverter.exe" "$input" >"$input.console" || true
  if ! cmp -s "$build/examples-linux/$output" "$build/examples/$output"; then
    echo "DIFFERS   $output" >&2
    status=1
  # The console texts differ in their line ends only.
  elif ! tr -d '\r' <"$input.console" | cmp -s - "$build/examples-linux/$name.console"; then
    echo "DIFFERS   console text of $name" >&2
    status=1
  fi
  compared=$((compared + 1))
done
echo "examples: $compared compared, $([ $status -eq 0 ] && echo identical || echo 'see above')"

# The whole suite; its last test stops Wine's server.
ctest --test-dir "$build" --output-on-failure -j2 || status=1
exit $status
