#!/usr/bin/env bash
# Builds the browser page into build/web/ (the preset `web`: the core compiled with Debian's
# Emscripten): index.html, its script and style, the worker, kegverter.js and kegverter.wasm, and
# JSZip (third_party/jszip). Everything the page loads is in that folder; open it through
# any static web server (python3 -m http.server -d build/web) or copy the folder to one.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh emscripten node-acorn
# Debian's Emscripten runs its JavaScript tools with the system's node modules (acorn).
export NODE_PATH=/usr/share/nodejs
if [ ! -f build/web-build/build.ninja ] || [ $# -gt 0 ]; then
  cmake --preset web "$@" >/dev/null
fi
cmake --build --preset web -j2
echo "build-web: the page is in build/web/"
