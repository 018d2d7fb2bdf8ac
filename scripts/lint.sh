#!/usr/bin/env bash
# Checks the formatting of every C++ file (clang-format) and runs clang-tidy's checks (.clang-tidy)
# over the library and programs, with the compile commands of build/. Fails on any finding.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh clang-format clang-tidy
[ -f build/compile_commands.json ] || { echo "lint: configure build/ first (scripts/build.sh)" >&2; exit 2; }

mapfile -t cxx < <(git ls-files -- '*.cc' '*.h' ':!third_party/**')
echo "lint: clang-format over ${#cxx[@]} files"
clang-format --dry-run --Werror "${cxx[@]}"

# The library and the programs; tests and tools are checked by the compiler's warnings only.
mapfile -t units < <(git ls-files -- 'source/*.cc' 'beerxml2/*.cc' 'document/*.cc' 'output/*.cc' 'driver/*.cc' 'platform/*.cc' \
                                     'model/*.cc' 'beerjson/*.cc' 'beerxml1/*.cc')
echo "lint: clang-tidy over ${#units[@]} files"
printf '%s\n' "${units[@]}" | xargs -P 2 -n 4 clang-tidy -p build --quiet 2>/dev/null
