#!/usr/bin/env bash
# Cross-builds the Windows programs and the test programs with mingw-w64 under build/windows:
#   scripts/build-windows.sh                    every program and every test program
#   scripts/build-windows.sh TARGET...          only these targets (e.g. kegverter)
#   scripts/build-windows.sh -DSETTING=VALUE... CMake settings first (the test command passes
#                                               -DKEGVERTER_WERROR=ON), then targets, if any
# Installs the cross compiler (and Wine, which runs the tests) when missing. The programs are
# static executables that import only Windows' own DLLs.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh g++-mingw-w64-x86-64-posix googletest wine wine64
build=build/windows
settings=()
while [ $# -gt 0 ] && [ "${1#-D}" != "$1" ]; do
  settings+=("$1")
  shift
done
if [ ! -f "$build/build.ninja" ] || [ ${#settings[@]} -gt 0 ]; then
  # The preset `windows` (CMakePresets.json): the toolchain file, and RelWithDebInfo's
  # optimisation without its debug information (the cross build is made in every test run, and -g
  # only makes it slower to compile and link).
  cmake --preset windows "${settings[@]}" >/dev/null
fi
if [ $# -gt 0 ]; then
  targets=("$@")
else
  # Every program (kegverter_add_program) and every test program (kegverter_add_gtest).
  mapfile -t targets <"$build/programs.txt"
  mapfile -t -O "${#targets[@]}" targets <"$build/test-programs.txt"
fi
cmake --build --preset windows -j2 --target "${targets[@]}"
