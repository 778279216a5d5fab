#!/usr/bin/env bash
# setup.exe under Wine: the payload found at the default offset and through the trailer,
# unpacked into <TempDir>\VQTMPnnn which is gone at the end, the corrupted-setup stop for each
# kind of damage, and a planted cabinet.dll that is never loaded.
source "$(dirname "$0")/lib/wine.sh"
start_wine

# A file longer than the default offset is needed for the trailer to be read at all.
big_product "$WORK/product"
"$SETUP_PACK" --no-pad --stub "$SETUP_EXE" --out "$WORK/trailer.exe" "$WORK/product" >/dev/null
"$SETUP_PACK" --pad --stub "$SETUP_EXE" --out "$WORK/padded.exe" "$SETUP_SOURCE/examples" >/dev/null
python3 "$E2E_LIB/payload.py" split "$WORK/trailer.exe" "$WORK/parts"
read -r start length size < "$WORK/parts/layout.txt"
check "trailer file: payload after the program part ($start bytes)" [ "$start" -lt 250880 ]
check "padded file: ten digits at the default offset" \
  grep -q '^[0-9]\{10\}$' <(dd if="$WORK/padded.exe" bs=1 skip=250880 count=10 status=none; echo)

# A silent run, traced: the folder is made, the setup cabinet is unpacked in it, and it is gone.
silent_run() {
  local name=$1 file=$2 status=0
  (cd "$WORK" && WINEDEBUG=trace+file wine "$file" /s 2>"$WORK/$name.trace") || status=$?
  wineserver -w
  check "$name: exit code 0" [ "$status" -eq 0 ]
  for unpacked in setup.ini English.lng vqwizard.bmp vqheader.bmp; do
    check "$name: $unpacked written into VQTMPnnn" \
      grep -Eiq "CreateFileW .*Temp.{1,2}VQTMP[0-9]{3}.{1,2}$unpacked" "$WORK/$name.trace"
  done
  check "$name: temporary folder gone" no_wine_temp_left
}
silent_run trailer "$WORK/trailer.exe"
silent_run padded "$WORK/padded.exe"

# Damaged files: the fixed message in a box captioned Error, answered by a key press.
expect_corrupted() {
  local name=$1 file=$2 status=0
  (cd "$WORK" && timeout 120 wine "$file" /s) &
  local pid=$!
  check "$name: box 'Error' shown" answer_box Error Return 60
  wait "$pid" || status=$?
  wineserver -w
  check "$name: exit code 4" [ "$status" -eq 4 ]
  check "$name: no temporary folder left" no_wine_temp_left
}
join() { python3 "$E2E_LIB/payload.py" join "$WORK/parts/stub" "$@"; }
head -c $((size - 100)) "$WORK/trailer.exe" > "$WORK/truncated.exe"
expect_corrupted truncated "$WORK/truncated.exe"
join "$WORK/parts/setup.cab" "$WORK/letters.exe" --size-field ABCDEFGHIJ
expect_corrupted size-field-letters "$WORK/letters.exe"
join "$WORK/parts/setup.cab" "$WORK/past-end.exe" --trailer 2000000000
expect_corrupted trailer-past-end "$WORK/past-end.exe"
cp "$WORK/parts/setup.cab" "$WORK/damaged.cab"
printf 'XXXX' | dd of="$WORK/damaged.cab" bs=1 seek=0 conv=notrunc status=none
join "$WORK/damaged.cab" "$WORK/damaged.exe"
expect_corrupted damaged-cabinet-header "$WORK/damaged.exe"

# A cabinet.dll planted beside the setup file and in the current folder is never loaded.
mkdir -p "$WORK/downloads" "$WORK/current"
cp "$WORK/trailer.exe" "$WORK/downloads/setup.exe"
cp "$SETUP_WINDOWS_BIN/cabinet.dll" "$WORK/downloads/cabinet.dll"
cp "$SETUP_WINDOWS_BIN/cabinet.dll" "$WORK/current/cabinet.dll"
status=0
# Native first, so that Wine would take a planted file if the program let it search there.
(cd "$WORK/current" && WINEDLLOVERRIDES="$WINEDLLOVERRIDES;cabinet=n,b" WINEDEBUG=+loaddll wine "$WORK/downloads/setup.exe" /s 2>"$WORK/loaddll.log") || status=$?
wineserver -w
check "planted DLL: run works" [ "$status" -eq 0 ]
check "planted DLL: the system's cabinet.dll is loaded" grep -iq 'Loaded L"C:\\\\windows\\\\system32\\\\cabinet.dll"' "$WORK/loaddll.log"
check "planted DLL: no other cabinet.dll is loaded" bash -c "! grep -i 'Loaded.*cabinet.dll' '$WORK/loaddll.log' | grep -iv 'windows.*system32'"
# A setup that does not allow Windows 7, which Wine reports: the gate's message in a box
# captioned with the product, answered by a key press; exit code 3 and nothing left behind.
cp -r "$SETUP_SOURCE/examples" "$WORK/no-win7"
sed -i 's/^Win7=1/Win7=0/' "$WORK/no-win7/setup.ini"
"$SETUP_PACK" --pad --stub "$SETUP_EXE" --out "$WORK/no-win7.exe" "$WORK/no-win7" >/dev/null
status=0
(cd "$WORK" && WINEDEBUG=+relay timeout 120 wine "$WORK/no-win7.exe" /s 2>"$WORK/no-win7.trace") &
pid=$!
check "Win7 off: box 'Setup - Example Notes 1.0' shown" answer_box "Setup - Example Notes 1.0" Return 60
wait "$pid" || status=$?
wineserver -w
check "Win7 off: exit code 3" [ "$status" -eq 3 ]
check "Win7 off: message 3 with the allowed families" box_traced "$WORK/no-win7.trace" \
  "This application runs only on Windows 95/98/ME/NT/2000/XP/Server 2003/Vista" "Setup - Example Notes 1.0"
check "Win7 off: no temporary folder left" no_wine_temp_left
finish
