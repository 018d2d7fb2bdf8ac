#!/usr/bin/env bash
# Configures and builds Kegverter out of tree under build/. Extra arguments are CMake settings
# (the test command passes -DKEGVERTER_WERROR=ON); without any, an existing configuration is kept.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
if [ ! -f build/build.ninja ] || [ $# -gt 0 ]; then
  cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
fi
cmake --build build
