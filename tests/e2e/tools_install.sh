#!/usr/bin/env bash
# The installed tools: `cmake --install` into a fresh prefix puts setup-pack on PREFIX/bin and
# setup.exe in PREFIX/share/setup-pack, where setup-pack finds it without --stub; the Debian
# package from cpack holds the same files, and setup-pack works from wherever it is unpacked.
# Environment: SETUP_BUILD (the build folder), SETUP_SOURCE.
source "$(dirname "$0")/lib/common.sh"
: "${SETUP_BUILD:?SETUP_BUILD must name the build folder}"

# packs_example SETUP_PACK STUB: packs the example in a fresh folder without --stub or --out;
# the setup file is executable like the installed stub.
packs_example() {
  local pack=$1 stub=$2 dir
  dir=$(mktemp -d "$WORK/run.XXXX")
  (cd "$dir" && cp -r "$SETUP_SOURCE/examples" product && "$pack" product > summary.txt) &&
    [ -x "$dir/setup.exe" ] &&
    cmp -s -n "$(stat -c %s "$stub")" "$stub" "$dir/setup.exe" &&
    [ "$(tail -c 10 "$dir/setup.exe")" = 0000250880 ] &&
    grep -q '^setup.exe: 4 files' "$dir/summary.txt"
}

prefix=$WORK/prefix
check "cmake --install into a fresh prefix" \
  cmake --install "$SETUP_BUILD" --prefix "$prefix" > "$WORK/install.log"
check "setup-pack in PREFIX/bin" [ -x "$prefix/bin/setup-pack" ]
check "setup.exe in PREFIX/share/setup-pack" [ -f "$prefix/share/setup-pack/setup.exe" ]
check "the installed setup.exe is the built one" \
  cmp -s "$prefix/share/setup-pack/setup.exe" "$SETUP_BUILD/windows/setup.exe"
check "installed setup-pack --version" \
  bash -c '"$0" --version | grep -q "^setup-pack [0-9]"' "$prefix/bin/setup-pack"
check "installed setup-pack packs the example onto the installed setup.exe" \
  packs_example "$prefix/bin/setup-pack" "$prefix/share/setup-pack/setup.exe"
mv "$prefix" "$WORK/moved"
check "... and still when the prefix is moved" \
  packs_example "$WORK/moved/bin/setup-pack" "$WORK/moved/share/setup-pack/setup.exe"
check "--stub still overrides the default" \
  bash -c 'cd "$1" && "$0" --stub "$2" --out other product >/dev/null && cmp -s -n 100 "$2" other' \
  "$WORK/moved/bin/setup-pack" "$(ls -d "$WORK"/run.* | head -n 1)" "$SETUP_SOURCE/README.md"

check "cpack writes a Debian package" \
  cpack --config "$SETUP_BUILD/CPackConfig.cmake" -G DEB -B "$WORK/package" > "$WORK/cpack.log"
deb=$(ls "$WORK"/package/*.deb 2> /dev/null | head -n 1)
check "the package is there ($(basename "${deb:-none}"))" [ -n "$deb" ]
if [ -n "$deb" ]; then
  check "it is called setup-pack" [ "$(dpkg-deb -f "$deb" Package)" = setup-pack ]
  dpkg-deb -c "$deb" | awk '{ print $NF }' > "$WORK/contents.txt"
  for file in ./usr/bin/setup-pack ./usr/share/setup-pack/setup.exe; do
    check "it holds $file" grep -qx "$file" "$WORK/contents.txt"
  done
  check "it depends on zlib" bash -c 'dpkg-deb -f "$0" Depends | grep -q zlib1g' "$deb"
  dpkg-deb -x "$deb" "$WORK/root"
  check "setup-pack from the unpacked package packs the example" \
    packs_example "$WORK/root/usr/bin/setup-pack" "$WORK/root/usr/share/setup-pack/setup.exe"
fi
finish
