#!/usr/bin/env bash
# Interoperability with real clients: every bundled example (the recipe among them has every
# list filled) converted to BeerXML 1.0 and imported into Brewtarget headless, checking the
# names, counts and metric amounts it stored (scripts/brewtarget_check.py); and converted to
# BeerJSON and validated against the official schema (scripts/validate_beerjson.py). Then the
# same for a hostile library (build/tests/make_hostile: texts with line breaks, tabs, control
# characters, bytes 0x80 to 0x9F, leading blanks, names filled to their width, every hop use),
# converted by kegverter-batch: one file at a time, every one must be imported whole.
# Installs Brewtarget and sqlite3 with apt-get when they are missing. About a second a file.
#
# usage: bash scripts/interop.sh   (after a build in build/)
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh brewtarget sqlite3
if [ ! -f build/build.ninja ]; then
  cmake --preset default
fi
cmake --build --preset default --target bench_convert_to make_hostile kegverter-batch >/dev/null

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

echo "== a hostile library: BeerXML 1.0 into Brewtarget, BeerJSON against its schema"
build/tests/make_hostile "$work/hostile"
for format in beerxml1 beerjson; do
  if ! build/kegverter-batch -q --to "$format" -o "$work/hostile-$format" "$work/hostile"; then
    echo "interop: the hostile library did not convert to $format"
    status=1
  fi
done
hostile_xml=("$work"/hostile-beerxml1/*.xml)
hostile_json=("$work"/hostile-beerjson/*.json)
/usr/bin/python3 scripts/brewtarget_check.py "${hostile_xml[@]}" || status=1
/usr/bin/python3 scripts/validate_beerjson.py "${hostile_json[@]}" || status=1
xml+=("${hostile_xml[@]}")
json+=("${hostile_json[@]}")

total=$(( ${#xml[@]} + ${#json[@]} ))
if [ $status -eq 0 ]; then
  echo "interop: $total passed, 0 failed"
else
  echo "interop: failures above"
fi
exit $status
