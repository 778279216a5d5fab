#!/usr/bin/env bash
# Setup files and computers that lie: stored sizes beyond the payload, a FilesCount far beyond
# the entries, a damaged cabinet whose file has another name than its destination, temporary
# folders left by earlier runs, and a temporary path too long for the system.
source "$(dirname "$0")/lib/common.sh"

app='C/Program Files/Example Notes'
cp -r "$SETUP_SOURCE/examples" "$WORK/src"
"$SETUP_PACK" --stub "$SETUP_HOST" --out "$WORK/plain" "$WORK/src" >/dev/null
# repack NAME OPTION...: the example with its script or cabinets changed, as $WORK/NAME.
repack() { local name=$1; shift; python3 "$E2E_LIB/repack.py" "$WORK/plain" "$WORK/$name" "$@"; }
# run NAME SETUPFILE [ANSWER...]: a silent run in the sandbox $WORK/sb-NAME; sets $sandbox,
# $status and $seconds.
run() {
  local name=$1 file=$2; shift 2
  sandbox=$WORK/sb-$name
  mkdir -p "$sandbox/host"
  printf '%s\n' "$@" > "$WORK/answers-$name"
  status=0
  local began=$SECONDS
  SETUP_HOST_SANDBOX=$sandbox SETUP_HOST_ANSWERS=$WORK/answers-$name timeout 120 "$file" /s \
    >/dev/null 2>"$WORK/$name.stderr" || status=$?
  seconds=$((SECONDS - began))
}
box_texts() { sed -n 's/^text=//p' "$sandbox/host/messagebox.log" 2>/dev/null; }
no_temp_left() {
  [ -z "$(find "$sandbox/C" -maxdepth 4 -name 'VQTMP*' -print -quit)" ]
}
corrupted() { [ "$status" -eq 4 ] && [ "$(box_texts)" = "The setup file is corrupted." ]; }

# Stored sizes that carry the payload position past the end of the setup file or past 2^31 - 1:
# the corrupted-setup stop, whatever the exist mode, and no temporary folder left.
for case in "beyond-end:3=<InstallDir>\\docs\\manual.txt?{size}0?Overwrite?Yes" \
            "max-overwrite:0=<InstallDir>\\notes.bat?2147483647?Overwrite?Yes" \
            "max-skip:0=<InstallDir>\\notes.bat?2147483647?Skip?Yes" \
            "max-last:3=<InstallDir>\\docs\\manual.txt?2147483000?Overwrite?Yes"; do
  name=${case%%:*}
  repack "$name" --entry "${case#*:}"
  mkdir -p "$WORK/sb-$name/$app"
  echo "earlier" > "$WORK/sb-$name/$app/notes.bat"
  run "$name" "$WORK/$name"
  check "size past the payload ($name): corrupted stop, exit 4" corrupted
  check "size past the payload ($name): no temporary folder left" no_temp_left
done

# FilesCount far beyond the entries: the phase ends at the last key, at once. A key missing in
# between (its cabinet gone with it) is still skipped without moving the payload position, so
# the entries after it read their own cabinets.
repack huge-count --set FilesCount=2147483647 --drop 1
run huge-count "$WORK/huge-count"
check "FilesCount 2147483647: exit 0" [ "$status" -eq 0 ]
check "FilesCount 2147483647: over in seconds ($seconds s)" [ "$seconds" -lt 60 ]
check "FilesCount 2147483647: no box" [ ! -s "$sandbox/host/messagebox.log" ]
for file in notes.bat license.txt docs/manual.txt; do
  check "FilesCount 2147483647: $file installed" cmp -s "$sandbox/$app/$file" "$WORK/src/files/$file"
done
check "FilesCount 2147483647: the missing entry's file not installed" [ ! -e "$sandbox/$app/readme.txt" ]
check "FilesCount 2147483647: no temporary folder left" no_temp_left

# A damaged cabinet whose file is called otherwise than the destination: answered Yes, the run
# goes on, and no half-written file stays under either name.
head -c 200000 /dev/urandom > "$WORK/big.bin"
"$SETUP_PACK" cab --out "$WORK/renamed.cab" --as orig.bin "$WORK/big.bin" >/dev/null
python3 - "$WORK/renamed.cab" <<'PY'
import sys
data = bytearray(open(sys.argv[1], "rb").read())
data[-100] ^= 0xFF
open(sys.argv[1], "wb").write(data)
PY
repack renamed --cab 3="$WORK/renamed.cab"
run renamed "$WORK/renamed" Yes
check "damaged, other name: exit 1" [ "$status" -eq 1 ]
check "damaged, other name: message 14" \
  grep -Fxq 'text=An error occurred while trying to install the file:\r\nC:\\Program Files\\Example Notes\\docs\\manual.txt\r\n\r\nWould you like to continue the installation?' "$sandbox/host/messagebox.log"
check "damaged, other name: no file under the cabinet's name" [ ! -e "$sandbox/$app/docs/orig.bin" ]
check "damaged, other name: no file under the destination's name" [ ! -e "$sandbox/$app/docs/manual.txt" ]
check "damaged, other name: the files before it installed" [ -f "$sandbox/$app/license.txt" ]
# An earlier file of that name is not the run's to delete.
mkdir -p "$WORK/sb-renamed-earlier/$app/docs"
echo "the user's own" > "$WORK/sb-renamed-earlier/$app/docs/orig.bin"
run renamed-earlier "$WORK/renamed" Yes
check "damaged, other name, file there before: exit 1" [ "$status" -eq 1 ]
check "damaged, other name, file there before: not deleted" [ -f "$sandbox/$app/docs/orig.bin" ]

# A temporary folder left behind by a killed run under the name this run draws first (the draw
# made the same with SETUP_HOST_SEED): another name is drawn, the leftover is not touched.
export SETUP_HOST_SEED=1234,4321,99
SETUP_HOST_FS_LOG=1 run seed-probe "$WORK/plain"
first=$(sed -n 's/^create-folder C:\\Users\\setup\\Temp\\\(VQTMP[0-9]*\)$/\1/p' "$sandbox/host/fs.log" | head -n 1)
check "fixed seed: the folder's name is known ($first)" [ -n "$first" ]
temp=C/Users/setup/Temp
mkdir -p "$WORK/sb-leftover/$temp/$first"
echo "left by a killed run" > "$WORK/sb-leftover/$temp/$first/setup.ini"
run leftover "$WORK/plain"
check "leftover folder under the first name: exit 0" [ "$status" -eq 0 ]
check "leftover folder under the first name: installed" [ -f "$sandbox/$app/notes.bat" ]
check "leftover folder under the first name: left as it was" \
  [ "$(cat "$sandbox/$temp/$first/setup.ini")" = "left by a killed run" ]
check "leftover folder under the first name: nothing else left" \
  [ "$(find "$sandbox/$temp" -mindepth 1 -maxdepth 1 | wc -l)" -eq 1 ]
# Every name taken: the corrupted-setup stop after a few draws, and none of them touched.
mkdir -p "$WORK/sb-all-taken/$temp"
for n in $(seq -w 0 999); do
  mkdir -p "$WORK/sb-all-taken/$temp/VQTMP$n"
  echo "$n" > "$WORK/sb-all-taken/$temp/VQTMP$n/mine"
done
run all-taken "$WORK/plain"
check "every name taken: corrupted stop, exit 4" corrupted
untouched() {
  [ "$(cat "$sandbox/$temp"/VQTMP*/mine | wc -l)" -eq 1000 ] &&
    [ "$(find "$sandbox/$temp" -mindepth 1 | wc -l)" -eq 2000 ]
}
check "every name taken: none touched" untouched
unset SETUP_HOST_SEED

# A temporary path longer than MAX_PATH: GetTempPathA fails. The Windows folder's Temp serves;
# without it the run stops with a message instead of using the drive's root.
long='C:\Users\setup\AppData\Local\'$(printf 'deep%.0s' $(seq 70))'\Temp\'
mkdir -p "$WORK/sb-long-temp/C/Windows/Temp"
SETUP_HOST_TEMP=$long SETUP_HOST_FS_LOG=1 run long-temp "$WORK/plain"
check "temporary path too long: exit 0" [ "$status" -eq 0 ]
check "temporary path too long: installed" [ -f "$sandbox/$app/notes.bat" ]
check "temporary path too long: the Windows folder's Temp used" \
  grep -q '^create-folder C:\\Windows\\Temp\\VQTMP[0-9][0-9][0-9]$' "$sandbox/host/fs.log"
check "temporary path too long: nothing at the drive's root" \
  [ -z "$(find "$sandbox/C" -maxdepth 1 -iname 'VQTMP*' -print -quit)" ]
check "temporary path too long: no temporary folder left" no_temp_left
SETUP_HOST_TEMP=$long run long-temp-no-windows-temp "$WORK/plain"
check "no usable temporary folder: exit 5" [ "$status" -eq 5 ]
check "no usable temporary folder: its message" \
  [ "$(box_texts)" = "Setup could not find a folder for its temporary files." ]
check "no usable temporary folder: nothing at the drive's root" \
  [ -z "$(find "$sandbox/C" -maxdepth 1 -iname 'VQTMP*' -print -quit)" ]
check "no usable temporary folder: nothing installed" [ ! -e "$sandbox/$app" ]

finish
