#!/usr/bin/env bash
# The ways a silent run ends before or during the installation, each with its message, its
# exit code and nothing left in the temporary folder; and the earlier-installation loop.
source "$(dirname "$0")/lib/common.sh"

# product NAME KEY=VALUE...: the example product with [Setup] keys changed, packed as $WORK/NAME.
product() {
  local name=$1; shift
  cp -r "$SETUP_SOURCE/examples" "$WORK/$name.src"
  [ $# -eq 0 ] || set_keys "$WORK/$name.src/setup.ini" "$@"
  "$SETUP_PACK" --stub "$SETUP_HOST" --out "$WORK/$name" "$WORK/$name.src" >/dev/null
}
# run NAME SETUPFILE [ANSWER...]: a silent run in the sandbox $WORK/sb-NAME (prepared by the
# caller or fresh); sets $sandbox and $status.
run() {
  local name=$1 file=$2; shift 2
  sandbox=$WORK/sb-$name
  mkdir -p "$sandbox/host"
  printf '%s\n' "$@" > "$WORK/answers-$name"
  status=0
  SETUP_HOST_SANDBOX=$sandbox SETUP_HOST_ANSWERS=$WORK/answers-$name "$file" /s \
    >/dev/null 2>"$WORK/$name.stderr" || status=$?
}
no_temp_left() {
  [ -z "$(find "$sandbox/C/Users/setup/Temp" -mindepth 1 -maxdepth 1 -name 'VQTMP*' -print -quit)" ]
}
box_texts() { sed -n 's/^text=//p' "$sandbox/host/messagebox.log" 2>/dev/null; }
app='C/Program Files/Example Notes'
uninstall_key='[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\Example Notes]'
# earlier_installation: the registry and folder of an earlier installation of the example.
earlier_installation() {
  mkdir -p "$sandbox/host" "$sandbox/$app"
  printf 'REGEDIT4\n\n%s\n"UninstallString"="C:\\\\Program Files\\\\Example Notes\\\\Uninstall.exe"\n' \
    "$uninstall_key" > "$sandbox/host/registry.reg"
  printf '%s\n' "$@" > "$sandbox/$app/Uninstall.exe"
}

# A [Files] entry that lost its fourth field: the fixed corrupted message, exit code 4.
# setup-pack refuses to write such a file, so the packed script is changed afterwards.
product short-entry
python3 "$E2E_LIB/payload.py" split "$WORK/short-entry" "$WORK/short-parts"
mkdir "$WORK/short-cab"
cabextract -q -d "$WORK/short-cab" "$WORK/short-parts/setup.cab"
sed -i 's/^\(3=.*\)?Yes\r$/\1?\r/' "$WORK/short-cab/setup.ini"
python3 "$E2E_LIB/makecab.py" "$WORK/short-parts/setup.cab" \
  $(cd "$WORK/short-cab" && for f in *; do echo "$f=$WORK/short-cab/$f"; done)
python3 "$E2E_LIB/payload.py" join "$WORK/short-parts/stub" "$WORK/short-parts/setup.cab" \
  "$WORK/short-parts/rest" "$WORK/short-entry"
run short-entry "$WORK/short-entry"
check "three-field entry: exit code 4" [ "$status" -eq 4 ]
check "three-field entry: corrupted message" [ "$(box_texts)" = "The setup file is corrupted." ]
check "three-field entry: files before it installed" [ -f "$sandbox/$app/license.txt" ]
check "three-field entry: no temporary folder left" no_temp_left
check "three-field entry: no Uninstall.ini left" [ ! -e "$sandbox/$app/Uninstall.ini" ]

# A file stands where a folder must be made: message 13, exit code 5.
product plain
mkdir -p "$WORK/sb-folder/$app"
echo "in the way" > "$WORK/sb-folder/$app/docs"
run folder "$WORK/plain"
check "folder cannot be made: exit code 5" [ "$status" -eq 5 ]
check "folder cannot be made: message 13" \
  [ "$(box_texts)" = 'Setup could not create the folder:\r\nC:\\Program Files\\Example Notes\\docs' ]
check "folder cannot be made: no temporary folder left" no_temp_left

# A damaged cabinet answered No: exit code 5; an Uninstall.ini that was there keeps every
# record and still reads.
python3 "$E2E_LIB/payload.py" split "$WORK/plain" "$WORK/parts"
python3 - "$WORK/parts/rest" <<'PY'
import sys
data = bytearray(open(sys.argv[1], "rb").read())
data[-20] ^= 0xFF
open(sys.argv[1], "wb").write(data)
PY
python3 "$E2E_LIB/payload.py" join "$WORK/parts/stub" "$WORK/parts/setup.cab" "$WORK/parts/rest" "$WORK/damaged"
chmod +x "$WORK/damaged"
mkdir -p "$WORK/sb-damaged/$app"
printf '[Files]\r\n0=C:\\Earlier\\file.txt\r\n' > "$WORK/sb-damaged/$app/Uninstall.ini"
run damaged "$WORK/damaged" No
check "damaged cabinet answered No: exit code 5" [ "$status" -eq 5 ]
check "damaged cabinet answered No: message 14" \
  grep -Fxq 'text=An error occurred while trying to install the file:\r\nC:\\Program Files\\Example Notes\\docs\\manual.txt\r\n\r\nWould you like to continue the installation?' "$sandbox/host/messagebox.log"
check "damaged cabinet answered No: no half-written file" [ ! -e "$sandbox/$app/docs/manual.txt" ]
check "damaged cabinet answered No: earlier record kept" grep -q '^0=C:\\Earlier\\file.txt' "$sandbox/$app/Uninstall.ini"
check "damaged cabinet answered No: texts written before the stop" grep -q '^AppName=Example Notes' "$sandbox/$app/Uninstall.ini"
check "damaged cabinet answered No: no temporary folder left" no_temp_left

# No earlier installation where an update expects one: message 25, exit code 3.
product update DisableUpdate=1
run update "$WORK/update"
check "update without earlier installation: exit code 3" [ "$status" -eq 3 ]
check "update without earlier installation: message 25" \
  [ "$(box_texts)" = 'Example Notes is not found on your computer.\r\n\r\nUpdate cannot continue.' ]
check "update without earlier installation: no temporary folder left" no_temp_left
product upgrade DisableUpdate=1 UpgradeMode=1
run upgrade "$WORK/upgrade"
check "UpgradeMode 1 skips the check: exit code 0" [ "$status" -eq 0 ]

# An earlier installation, removal declined: exit code 2, nothing installed.
sandbox=$WORK/sb-declined; earlier_installation 'not a script'
run declined "$WORK/plain" No
check "earlier installation declined: exit code 2" [ "$status" -eq 2 ]
check "earlier installation declined: message 11" \
  grep -Fxq 'text=Example Notes is already installed on your computer.\r\n\r\nThis application must be uninstalled before installation.\r\n\r\nWould you like to continue?' "$sandbox/host/messagebox.log"
check "earlier installation declined: nothing installed" [ ! -e "$sandbox/$app/notes.bat" ]
check "earlier installation declined: no temporary folder left" no_temp_left

# Removal accepted, and an uninstaller that stays (the user cancelled it): asked again, the
# uninstaller run each time with its quoted path and a blank, in its folder.
sandbox=$WORK/sb-stays; earlier_installation 'not a script'
run stays "$WORK/plain" Yes No
check "uninstaller stays: asked twice" [ "$(grep -c '^text=Example Notes is already installed' "$sandbox/host/messagebox.log")" -eq 2 ]
check "uninstaller stays: run once in between" \
  [ "$(cat "$sandbox/host/started.log")" = 'run "C:\Program Files\Example Notes\Uninstall.exe"  in C:\Program Files\Example Notes\ show 1' ]
check "uninstaller stays: exit code 2" [ "$status" -eq 2 ]

# Removal accepted and the uninstaller removes itself: the setup goes on and installs.
sandbox=$WORK/sb-removed
earlier_installation '#!/bin/sh' 'rm -f "$SETUP_HOST_SANDBOX/C/Program Files/Example Notes/Uninstall.exe"'
run removed "$WORK/plain" Yes
check "uninstaller removed itself: exit code 0" [ "$status" -eq 0 ]
check "uninstaller removed itself: asked once" [ "$(box_texts | wc -l)" -eq 1 ]
check "uninstaller removed itself: product installed" [ -f "$sandbox/$app/notes.bat" ]

# Installing over an earlier installation: its folder and Start-menu group are taken.
product over PromptUninstall=0
sandbox=$WORK/sb-over
mkdir -p "$sandbox/host" "$sandbox/D/Old Place"
printf 'REGEDIT4\n\n%s\n"UninstallString"="D:\\\\Old Place\\\\Uninstall.exe"\n' "$uninstall_key" > "$sandbox/host/registry.reg"
echo stand-in > "$sandbox/D/Old Place/Uninstall.exe"
printf '[General]\r\nProgramGroupDir=c:\\users\\setup\\appdata\\roaming\\microsoft\\windows\\start menu\\programs\\Old Group\r\n' \
  > "$sandbox/D/Old Place/Uninstall.ini"
run over "$WORK/over"
check "install over: exit code 0" [ "$status" -eq 0 ]
check "install over: files in the earlier folder" [ -f "$sandbox/D/Old Place/notes.bat" ]
check "install over: nothing in the default folder" [ ! -e "$sandbox/$app" ]
check "install over: earlier record kept and extended" \
  grep -q '^ProgramGroupDir=C:\\Users\\setup\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs\\Old Group' "$sandbox/D/Old Place/Uninstall.ini"

finish
