#!/usr/bin/env bash
# Start-up of setup-host as a process: unpacking into a fresh temporary folder, removing it on
# every way out, and the corrupted-setup stop for each kind of damage.
source "$(dirname "$0")/lib/common.sh"

"$SETUP_PACK" --stub "$SETUP_HOST" --out "$WORK/setup" "$SETUP_SOURCE/examples" >/dev/null
python3 "$E2E_LIB/payload.py" split "$WORK/setup" "$WORK/parts"
read -r start length size < "$WORK/parts/layout.txt"

# run NAME SETUPFILE ARGS...: runs in a fresh sandbox; sets $sandbox and $status.
run() {
  local name=$1 file=$2; shift 2
  sandbox=$WORK/sandbox-$name
  rm -rf "$sandbox"
  status=0
  SETUP_HOST_SANDBOX=$sandbox SETUP_HOST_FS_LOG=1 "$file" "$@" 2>"$WORK/$name.stderr" || status=$?
}
temp_folder() { echo "$sandbox/C/Users/setup/Temp"; }
no_temp_left() { [ -z "$(find "$(temp_folder)" -mindepth 1 -maxdepth 1 -name 'VQTMP*' -print -quit)" ]; }
journal_has() { grep -Eq "$1" "$sandbox/host/fs.log"; }
no_boxes() { [ ! -e "$sandbox/host/messagebox.log" ]; }
corrupted_box_only() {
  [ "$(cat "$sandbox/host/messagebox.log")" = "$(printf 'caption=Error\ntext=The setup file is corrupted.\nstyle=0x00000010\nowned=0\nanswer=1\n--')" ]
}
tmp_pattern='C:\\Users\\setup\\Temp\\VQTMP[0-9]{3}'

# A sound setup file, silent and not: unpacked into VQTMPnnn, which is gone afterwards.
for mode in silent wizard; do
  args=(); [ "$mode" = silent ] && args=(/s)
  run "good-$mode" "$WORK/setup" "${args[@]}"
  check "$mode: exit code 0" [ "$status" -eq 0 ]
  check "$mode: temporary folder created" journal_has "^create-folder $tmp_pattern\$"
  for file in setup.cab setup.ini English.lng German.lng vqwizard.bmp vqheader.bmp; do
    check "$mode: $file unpacked" journal_has "^create-file $tmp_pattern\\\\$file\$"
  done
  check "$mode: temporary folder removed" journal_has "^remove-folder $tmp_pattern\$"
  check "$mode: nothing left in the temporary folder" no_temp_left
  check "$mode: no message box" no_boxes
done

# "/S", "-s" and "/s" as second parameter are not silent mode; nothing observable differs yet
# but the run must still end cleanly.
run upper "$WORK/setup" /S
check "/S: exit code 0 and clean" [ "$status" -eq 0 ]

# Each kind of damage: the fixed message, exit code 4, no temporary folder left.
expect_corrupted() {
  local name=$1 file=$2
  run "$name" "$file"
  check "$name: exit code 4" [ "$status" -eq 4 ]
  check "$name: 'The setup file is corrupted.' captioned Error" corrupted_box_only
  check "$name: no temporary folder left" no_temp_left
}

head -c $((size - 100)) "$WORK/setup" > "$WORK/truncated"; chmod +x "$WORK/truncated"
expect_corrupted truncated "$WORK/truncated"

join() { python3 "$E2E_LIB/payload.py" join "$WORK/parts/stub" "$@"; }
join "$WORK/parts/setup.cab" "$WORK/letters" --size-field ABCDEFGHIJ
expect_corrupted size-field-letters "$WORK/letters"
join "$WORK/parts/setup.cab" "$WORK/negative" --size-field -000000001
expect_corrupted size-field-negative "$WORK/negative"
join "$WORK/parts/setup.cab" "$WORK/too-long" --size-field 0999999999
expect_corrupted size-field-too-long "$WORK/too-long"
join "$WORK/parts/setup.cab" "$WORK/past-end" --trailer 2000000000
expect_corrupted trailer-past-end "$WORK/past-end"
join "$WORK/parts/setup.cab" "$WORK/trailer-negative" --trailer -000000005
expect_corrupted trailer-negative "$WORK/trailer-negative"

cp "$WORK/parts/setup.cab" "$WORK/damaged.cab"
printf 'XXXX' | dd of="$WORK/damaged.cab" bs=1 seek=0 conv=notrunc status=none
join "$WORK/damaged.cab" "$WORK/damaged-header"
expect_corrupted damaged-cabinet-header "$WORK/damaged-header"

# A setup cabinet without the bitmaps stops; so does one whose names climb out of the folder,
# and nothing is written outside it.
mkdir -p "$WORK/cab"
cabextract -q -d "$WORK/cab" "$WORK/parts/setup.cab"
( cd "$WORK/cab" && python3 "$E2E_LIB/makecab.py" "$WORK/no-bitmap.cab" setup.ini=setup.ini English.lng=English.lng vqwizard.bmp=vqwizard.bmp )
join "$WORK/no-bitmap.cab" "$WORK/no-bitmap"
expect_corrupted missing-bitmap "$WORK/no-bitmap"

( cd "$WORK/cab" && python3 "$E2E_LIB/makecab.py" "$WORK/climbing.cab" setup.ini=setup.ini 'sub\ok.txt=setup.ini' '..\..\escaped.txt=setup.ini' vqwizard.bmp=vqwizard.bmp vqheader.bmp=vqheader.bmp English.lng=English.lng )
join "$WORK/climbing.cab" "$WORK/climbing"
expect_corrupted climbing-name "$WORK/climbing"
check "climbing-name: nothing written outside the folder" [ -z "$(find "$sandbox" -iname escaped.txt)" ]

# A folder of the chosen name exists already: every possible name is taken, so the run must
# stop, and must leave the other folders and their files alone.
run occupied-prepare "$WORK/setup" /s
for i in $(seq -w 0 999); do mkdir -p "$(temp_folder)/VQTMP$i"; done
echo keep > "$(temp_folder)/VQTMP000/other.txt"
status=0
SETUP_HOST_SANDBOX=$sandbox "$WORK/setup" /s 2>/dev/null || status=$?
check "existing folder: exit code 4" [ "$status" -eq 4 ]
check "existing folder: corrupted message" grep -q 'text=The setup file is corrupted.' "$sandbox/host/messagebox.log"
check "existing folder: other folders kept" [ "$(find "$(temp_folder)" -mindepth 1 -maxdepth 1 -name 'VQTMP*' | wc -l)" -eq 1000 ]
check "existing folder: their files kept" [ -f "$(temp_folder)/VQTMP000/other.txt" ]

finish
