#!/usr/bin/env bash
# Makes the release packages of every program in build/release/:
#   kegverter-<version>-linux-x86_64.tar.gz   programs, man pages, README, LICENSE, examples
#   kegverter_<version>_amd64.deb              the same, installed under /usr
#   kegverter-<version>-windows-x86_64.zip     the .exe files, README, LICENSE, examples
#   kegverter-<version>-web.zip                 the browser page (scripts/build-web.sh), README,
#                                              LICENSE, examples: open index.html through any
#                                              web server, or put the folder on a static host
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

# The page: build/web/ as it is served (without the tests' screenshots), in one folder.
bash scripts/build-web.sh
version=$(sed -n 's/^project(kegverter VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
web=build/release/web/kegverter-$version-web
rm -rf build/release/web
mkdir -p "$web"
for file in build/web/*; do
  [ -f "$file" ] && cp "$file" "$web/"
done
cp -r README.md LICENSE examples "$web/"
cp third_party/jszip/LICENSE "$web/jszip-LICENSE"
(cd build/release/web && rm -f "../kegverter-$version-web.zip" &&
  python3 -m zipfile -c "../kegverter-$version-web.zip" "kegverter-$version-web")
ls -1 build/release/*.tar.gz build/release/*.deb build/release/*.zip
