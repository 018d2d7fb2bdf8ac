#!/usr/bin/env bash
# Checks the Linux .deb as a user gets it: makes it from build/ (scripts/build.sh must have run),
# installs it with dpkg, converts an example with every installed program, checks the man pages
# are there, and removes the package again.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh dpkg-dev
sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)

rm -rf build/package
mkdir -p build/package
if ! cpack --config build/CPackConfig.cmake -G DEB -B build/package >build/package/cpack.log 2>&1; then
  cat build/package/cpack.log >&2
  exit 1
fi
deb=$(ls build/package/*.deb)
package=$(dpkg-deb -f "$deb" Package)
if dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
  echo "check-deb: $package is installed already; not touching it" >&2
  exit 1
fi
work=$(mktemp -d)
"${sudo_cmd[@]}" dpkg -i "$deb" >/dev/null
trap 'rm -rf "$work"; "${sudo_cmd[@]}" dpkg -r "$package" >/dev/null' EXIT
status=0
while read -r program; do
  installed=/usr/bin/$program
  [ -x "$installed" ] || { echo "check-deb: $installed missing" >&2; status=1; continue; }
  dpkg -L "$package" | grep -qx "/usr/share/man/man1/$program.1" ||
    { echo "check-deb: no man page for $program" >&2; status=1; }
done <build/programs.txt
# The installed converter writes what the build's own writes.
mkdir -p "$work/installed" "$work/built"
cp "/usr/share/doc/$package/examples/Pale Ale.rec" "$work/installed/"
cp "examples/Pale Ale.rec" "$work/built/"
if ! /usr/bin/kegverter "$work/installed/Pale Ale.rec" >/dev/null ||
   ! build/kegverter "$work/built/Pale Ale.rec" >/dev/null ||
   ! cmp -s "$work/installed/Pale Ale.xml" "$work/built/Pale Ale.xml"; then
  echo "check-deb: the installed kegverter did not convert the example as the build does" >&2
  status=1
fi
echo "deb: $(basename "$deb") installed, converted an example, removed: $([ $status -eq 0 ] && echo ok || echo FAILED)"
exit $status
