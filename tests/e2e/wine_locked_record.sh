#!/usr/bin/env bash
# setup.exe /s under Wine, installing again while another program holds Uninstall.ini open
# without sharing: one box naming the record, the run goes on, exit code 1, and the record is
# as it was.
source "$(dirname "$0")/lib/wine.sh"
start_wine

cp -r "$SETUP_SOURCE/examples" "$WORK/product"
# The second run installs over the first without asking to remove it.
set_keys "$WORK/product/setup.ini" PromptUninstall=0
"$SETUP_PACK" --pad --stub "$SETUP_EXE" --out "$WORK/setup.exe" "$WORK/product" >/dev/null
cp "$SETUP_WINDOWS_BIN/lock_file.exe" "$WORK/"
app_unix="$WINEPREFIX/drive_c/Program Files (x86)/Example Notes"
record='C:\Program Files (x86)\Example Notes\Uninstall.ini'

status=0
(cd "$WORK" && timeout 300 wine "$WORK/setup.exe" /s) || status=$?
wineserver -w
check "first installation: exit 0" [ "$status" -eq 0 ]
check "first installation: Uninstall.ini written" [ -s "$app_unix/Uninstall.ini" ]
cp "$app_unix/Uninstall.ini" "$WORK/record-before.ini"
rm -f "$app_unix/notes.bat"

(cd "$WORK" && wine lock_file.exe "$record" 'C:\locked.txt' 'C:\release.txt') &
locker=$!
for _ in $(seq 300); do [ -e "$WINEPREFIX/drive_c/locked.txt" ] && break; sleep 0.2; done
check "the record is locked" [ -e "$WINEPREFIX/drive_c/locked.txt" ]

status=0
(cd "$WORK" && WINEDEBUG=+relay timeout 300 wine "$WORK/setup.exe" /s 2>"$WORK/run.trace") &
pid=$!
check "the box is shown and answered" answer_box Setup Return 120
wait "$pid" || status=$?
touch "$WINEPREFIX/drive_c/release.txt"
wait "$locker" || true
wineserver -w
check "locked record: exit code 1" [ "$status" -eq 1 ]
check "locked record: the box names the record" box_traced "$WORK/run.trace" \
  'Setup could not write the uninstall information:\r\nC:\\Program Files (x86)\\Example Notes\\Uninstall.ini' Setup
check "locked record: one box only" \
  [ "$(grep -acF 'Call user32.MessageBoxA(' "$WORK/run.trace")" -eq 1 ]
check "locked record: the run went on and installed" [ -f "$app_unix/notes.bat" ]
check "locked record: the record as it was" cmp -s "$app_unix/Uninstall.ini" "$WORK/record-before.ini"
check "locked record: no stray files beside it" \
  [ -z "$(find "$app_unix" -maxdepth 1 -name 'Uninstall.ini?*' -print -quit)" ]
check "no temporary folder left" no_wine_temp_left
finish
