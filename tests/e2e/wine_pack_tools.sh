#!/usr/bin/env bash
# setup-pack built for Windows (setup-pack.exe) under Wine: it finds setup.exe beside itself
# without --stub, writes the same setup file as the native setup-pack, reports mistakes with
# file and line, and what it writes installs.
source "$(dirname "$0")/lib/wine.sh"
PACK_EXE=$SETUP_WINDOWS_BIN/setup-pack.exe
check "setup-pack.exe was built (needs libz-mingw-w64-dev)" [ -f "$PACK_EXE" ]
[ -f "$PACK_EXE" ] || finish
start_wine

cp -r "$SETUP_SOURCE/examples" "$WORK/product"
status=0
(cd "$WORK" && wine "$PACK_EXE" --version > version.txt 2>&1) || status=$?
check "--version: exit code 0" [ "$status" -eq 0 ]
check "--version names the program" grep -q '^setup-pack [0-9]' "$WORK/version.txt"

status=0
(cd "$WORK" && wine "$PACK_EXE" --out packed.exe product > summary.txt 2> warnings.txt) || status=$?
check "packs the example without --stub: exit code 0" [ "$status" -eq 0 ]
check "no warnings for the example" [ ! -s "$WORK/warnings.txt" ]
check "the summary names files, sizes and compression" \
  grep -q '^packed.exe: 4 files, [0-9]* bytes packed into [0-9]* (.*), MSZIP' "$WORK/summary.txt"
"$SETUP_PACK" --stub "$SETUP_EXE" --out "$WORK/native.exe" "$WORK/product" > /dev/null
check "the same bytes as the native setup-pack with the same stub" \
  cmp "$WORK/packed.exe" "$WORK/native.exe"

# A misspelt key: a warning naming the file and line; with --strict an error and no file.
line=$(grep -n '^DialogWelcome=' "$WORK/product/setup.ini" | cut -d: -f1)
sed -i 's/^DialogWelcome=/DialogWelcom=/' "$WORK/product/setup.ini"
(cd "$WORK" && wine "$PACK_EXE" --out warned.exe product > /dev/null 2> warnings.txt) || true
check "misspelt key: warning with file and line" \
  grep -qF "product\\setup.ini line $line: unknown [Setup] key DialogWelcom: did you mean DialogWelcome?" \
  "$WORK/warnings.txt"
status=0
(cd "$WORK" && wine "$PACK_EXE" --strict --out strict.exe product > /dev/null 2> errors.txt) || status=$?
check "--strict: exit code 1" [ "$status" -eq 1 ]
check "--strict: the warning as an error" grep -qF "error: product\\setup.ini line $line:" "$WORK/errors.txt"
check "--strict: no setup file written" [ ! -e "$WORK/strict.exe" ]

installs_example packed.exe "the packed file"
finish
