#!/usr/bin/env bash
# Makes the release packages of every program in build/release/:
#   kegverter-<version>-linux-x86_64.tar.gz   programs, man pages, README, LICENSE, examples
#   kegverter_<version>_amd64.deb              the same, installed under /usr
#   kegverter-<version>-windows-x86_64.zip     the .exe files, README, LICENSE, examples
# from the Linux build (build/) and the Windows cross build (build/windows), building only the
# programs. Installs what is missing.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh dpkg-dev

if [ ! -f build/build.ninja ]; then
  cmake --preset default
fi
mapfile -t programs <build/programs.txt
cmake --build --preset default -j2 --target "${programs[@]}"
bash scripts/build-windows.sh "${programs[@]}"

mkdir -p build/release
for platform in linux windows; do
  config=build/CPackConfig.cmake
  [ "$platform" = linux ] || config=build/windows/CPackConfig.cmake
  mkdir -p "build/release/$platform"
  if ! cpack --config "$config" -B "build/release/$platform" >"build/release/$platform/cpack.log" 2>&1; then
    cat "build/release/$platform/cpack.log" >&2
    exit 1
  fi
done
find build/release/linux build/release/windows -maxdepth 1 -type f \
  \( -name '*.tar.gz' -o -name '*.deb' -o -name '*.zip' \) -exec mv -f {} build/release/ \;
ls -1 build/release/*.tar.gz build/release/*.deb build/release/*.zip
