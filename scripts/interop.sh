#!/usr/bin/env bash
# Interoperability with real clients: every bundled example (the recipe among them has every
# list filled) converted to BeerXML 1.0 and imported into Brewtarget headless, checking the
# names, counts and metric amounts it stored (scripts/brewtarget_check.py); and converted to
# BeerJSON and validated against the official schema (scripts/validate_beerjson.py).
# Installs Brewtarget and sqlite3 with apt-get when they are missing. About a second a file.
#
# usage: bash scripts/interop.sh   (after a build in build/)
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh brewtarget sqlite3
if [ ! -f build/build.ninja ]; then
  cmake --preset default
fi
cmake --build --preset default --target bench_convert_to >/dev/null

work=build/interop
rm -rf "$work"
mkdir -p "$work"
cp examples/* "$work"/
status=0
xml=()
json=()
for f in "$work"/*; do
  for format in beerxml1 beerjson; do
    if ! build/bench/bench_convert_to "$format" "$f"; then
      echo "interop: $f did not convert to $format"
      status=1
    fi
  done
  xml+=("${f%???}xml")
  json+=("${f%???}json")
done

echo "== BeerXML 1.0 into Brewtarget"
/usr/bin/python3 scripts/brewtarget_check.py "${xml[@]}" || status=1
echo "== BeerJSON against its schema"
/usr/bin/python3 scripts/validate_beerjson.py "${json[@]}" || status=1

total=$(( ${#xml[@]} + ${#json[@]} ))
if [ $status -eq 0 ]; then
  echo "interop: $total passed, 0 failed"
else
  echo "interop: failures above"
fi
exit $status
