#!/usr/bin/env bash
# Builds Kegverter and converts every bundled example file. The examples are copied to
# build/examples first, so the outputs (written beside their inputs) stay out of the source tree.
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
exit $status
