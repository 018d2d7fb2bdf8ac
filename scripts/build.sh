#!/usr/bin/env bash
# Configures (the preset `default` of CMakePresets.json) and builds Kegverter out of tree under
# build/. Extra arguments are CMake settings (the test command passes -DKEGVERTER_WERROR=ON);
# without any, an existing configuration is kept.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
if [ ! -f build/build.ninja ] || [ $# -gt 0 ]; then
  cmake --preset default "$@" >/dev/null
fi
cmake --build --preset default
