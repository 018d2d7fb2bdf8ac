#!/usr/bin/env bash
# Builds Kegverter and converts every bundled example file into all three formats: BeerXML 2.01
# with kegverter (the examples are copied to build/examples first, so the outputs, written beside
# their inputs, stay out of the source tree), then BeerXML 1.0 and BeerJSON with kegverter-batch
# into build/examples/beerxml1/ and build/examples/beerjson/.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh -DKEGVERTER_WERROR=OFF >/dev/null
rm -rf build/examples
mkdir -p build/examples
shopt -s nullglob
files=(examples/*)
if [ ${#files[@]} -eq 0 ]; then
  echo "examples: no example files yet"
  exit 0
fi
status=0
for f in "${files[@]}"; do
  cp "$f" build/examples/
  in="build/examples/$(basename "$f")"
  if build/kegverter "$in" >/dev/null; then
    echo "converted $in -> ${in%???}xml"
  else
    echo "FAILED    $in"
    status=1
  fi
done
for format in beerxml1 beerjson; do
  if build/kegverter-batch -q --to "$format" -o "build/examples/$format" examples; then
    echo "converted examples/* -> build/examples/$format/ ($format, with kegverter-batch)"
  else
    echo "FAILED    examples/* to $format"
    status=1
  fi
done
exit $status
