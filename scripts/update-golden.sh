#!/usr/bin/env bash
# Writes the golden outputs of the bundled examples again (tests/golden/: BeerXML 2.01 and the
# console text from kegverter, BeerJSON and BeerXML 1.0 from kegverter-batch), from the programs
# of build/ (the preset `default`), after a deliberate change of an output. It runs the golden
# tests (tests/golden_test.cc) with KEGVERTER_UPDATE_GOLDEN=1, which write what they would
# otherwise compare, then runs them again as usual; the change shows in `git diff tests/golden`.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
if [ ! -f build/build.ninja ]; then
  cmake --preset default >/dev/null
fi
cmake --build --preset default --target kegverter kegverter-batch kegverter_tests
KEGVERTER_UPDATE_GOLDEN=1 build/tests/kegverter_tests --gtest_filter='Examples.*' --gtest_brief=1
build/tests/kegverter_tests --gtest_filter='Examples.*' --gtest_brief=1
git status --short -- tests/golden
