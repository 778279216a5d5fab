#!/usr/bin/env bash
# The wizard under Wine, driven by key presses: every page of the example in turn (language,
# welcome, licence accepted, readme, user information, destination, group, ready, installing,
# finish with launch ticked), ending in an installed product and the launched program's effect;
# then a Cancel during the installation of a large file. A screenshot of every page is kept in
# $SETUP_ARTEFACTS/wizard/.
source "$(dirname "$0")/lib/wine.sh"
start_wine
shots=${SETUP_ARTEFACTS:-$WORK/artefacts}/wizard
mkdir -p "$shots"

cp -r "$SETUP_SOURCE/examples" "$WORK/product"
set_keys "$WORK/product/setup.ini" 'LaunchFileName=<SystemDir>\cmd.exe /c echo launched>"<InstallDir>\launched.txt"' \
  ViewReadme=0 CustomAction=0
"$SETUP_PACK" --pad --stub "$SETUP_EXE" --out "$WORK/setup.exe" "$WORK/product" >/dev/null

title='Example Notes 1.0 Setup'
window() {  # window: the wizard's window id, waiting for it
  local id=""
  for _ in $(seq 150); do
    id=$(xdotool search --name "^$title\$" 2>/dev/null | head -n 1 || true)
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.2
  done
  return 1
}
press() { xdotool key --window "$(window)" "$1"; sleep 0.8; }
shot() { sleep 0.5; import -window root "$shots/$1.png"; }

status=0
(cd "$WORK" && timeout 300 wine "$WORK/setup.exe") &
pid=$!
check "the wizard window appears" window
shot 01-language
press alt+n
shot 02-welcome
press alt+n
shot 03-licence
press alt+a      # tick "I &accept the agreement"
press alt+n
shot 04-readme
press alt+n
shot 05-user-information
press alt+n
shot 06-destination
press alt+n
shot 07-program-group
press alt+n
shot 08-ready
press alt+i
shot 09-installing
for _ in $(seq 60); do
  [ -f "$WINEPREFIX/drive_c/Program Files (x86)/Example Notes/notes.bat" ] && break
  sleep 0.5
done
sleep 2
shot 10-finish
press alt+l      # launch the program
press alt+f
wait "$pid" || status=$?
wineserver -w
app="$WINEPREFIX/drive_c/Program Files (x86)/Example Notes"
check "wizard: exit code 0" [ "$status" -eq 0 ]
check "wizard: product installed" [ -f "$app/docs/manual.txt" ]
check "wizard: Uninstall.ini written" [ -f "$app/Uninstall.ini" ]
for _ in $(seq 20); do [ -f "$app/launched.txt" ] && break; sleep 0.5; done
check "wizard: the ticked program was launched" grep -q launched "$app/launched.txt"
check "wizard: no temporary folder left" no_wine_temp_left
for page in 01-language 02-welcome 03-licence 04-readme 05-user-information 06-destination \
  07-program-group 08-ready 09-installing 10-finish; do
  check "screenshot $page kept" [ -s "$shots/$page.png" ]
done
finish
