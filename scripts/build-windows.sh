#!/usr/bin/env bash
# Cross-builds the Windows programs and the test program with mingw-w64 under build/windows:
#   scripts/build-windows.sh            every program and kegverter_tests.exe
#   scripts/build-windows.sh TARGET...  only these targets (e.g. kegverter)
# Installs the cross compiler (and Wine, which runs the tests) when missing. The programs are
# static executables that import only Windows' own DLLs.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh g++-mingw-w64-x86-64-posix googletest wine wine64
build=build/windows
if [ ! -f "$build/build.ninja" ]; then
  # RelWithDebInfo's optimisation without its debug information: the cross build is made in
  # every test run, and -g only makes it slower to compile and link.
  cmake -S . -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O2 -DNDEBUG" \
    -DKEGVERTER_BENCH=OFF >/dev/null
fi
if [ $# -gt 0 ]; then
  targets=("$@")
else
  # Every program (kegverter_add_program) and the tests.
  mapfile -t targets <"$build/programs.txt"
  targets+=(kegverter_tests)
fi
cmake --build "$build" -j2 --target "${targets[@]}"
