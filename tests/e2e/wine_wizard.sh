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
# The finish page shows its three options and the restart question together.
set_keys "$WORK/product/setup.ini" 'LaunchFileName=<SystemDir>\cmd.exe /c echo launched>"<InstallDir>\launched.txt"' \
  ViewReadmeChecked=0 RestartComputer=1
"$SETUP_PACK" --pad --stub "$SETUP_EXE" --out "$WORK/setup.exe" "$WORK/product" >/dev/null

title='Example Notes 1.0 Setup'
window() {  # window: the wizard's window id, waiting for it
  local id=""
  for _ in $(seq 150); do
    id=$(xdotool search --onlyvisible --name "^$title\$" 2>/dev/null | head -n 1 || true)
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.2
  done
  return 1
}
press() { xdotool key --window "$(window)" "$1"; sleep 0.8; }
shot() { sleep 0.5; import -window root "$shots/$1.png"; }

# A restart request would show in the relay trace.
wine reg add 'HKCU\Software\Wine\Debug' /v RelayInclude /d 'user32.MessageBoxA;user32.ExitWindowsEx' \
  /f >/dev/null 2>&1
wineserver -w
status=0
(cd "$WORK" && WINEDEBUG=+relay timeout 300 wine "$WORK/setup.exe" 2>"$WORK/wizard.trace") &
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
# The labels' access keys move to their fields, whose text is selected and so replaced.
# (Typing into a window, xdotool sends no Shift: the texts are lower case.)
type_text() { xdotool type --window "$(window)" --delay 50 "$1" 2>/dev/null; sleep 0.5; }
press alt+o      # "&Organization:"
type_text 'typed org'
press alt+u      # "&User Name:"
type_text 'typed user'
sleep 0.5
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
press alt+o      # "N&o, I will restart the computer later"
press alt+l      # launch the program
shot 10-finish-chosen
press alt+f
wait "$pid" || status=$?
wineserver -w
app="$WINEPREFIX/drive_c/Program Files (x86)/Example Notes"
check "wizard: exit code 0" [ "$status" -eq 0 ]
check "wizard: product installed" [ -f "$app/docs/manual.txt" ]
check "wizard: Uninstall.ini written" [ -f "$app/Uninstall.ini" ]
for _ in $(seq 20); do [ -f "$app/launched.txt" ] && break; sleep 0.5; done
check "wizard: the ticked program was launched" grep -q launched "$app/launched.txt"
owner() { tr -d '\r' < "$app/notes.ini" | grep -qx "$1"; }
check "wizard: Alt+U reached the user name field" owner 'Name=typed user'
check "wizard: Alt+O reached the organisation field" owner 'Company=typed org'
no_restart() { ! grep -aq 'Call user32.ExitWindowsEx' "$WORK/wizard.trace"; }
check "wizard: the restart question was answered No: no restart" no_restart
check "wizard: no temporary folder left" no_wine_temp_left
for page in 01-language 02-welcome 03-licence 04-readme 05-user-information 06-destination \
  07-program-group 08-ready 09-installing 10-finish 10-finish-chosen; do
  check "screenshot $page kept" [ -s "$shots/$page.png" ]
done
# Cancel while a large file is being installed, confirmed with Yes: the program ends, the
# temporary folder is gone, the files installed before stay. Every page is switched off, so the
# installation starts as soon as the window is shown.
wineserver -k || true
wineserver -w || true
rm -rf "$WINEPREFIX/drive_c/Program Files (x86)/Example Notes"
cp -r "$SETUP_SOURCE/examples" "$WORK/large"
python3 - "$WORK/large/setup.ini" <<'PY'
import sys
path = sys.argv[1]
text = open(path, newline="").read()
for key in ("DialogWelcome", "DialogLicense", "DialogReadme", "DialogUserInfo",
            "DialogDestinationFolder", "DialogProgramGroup", "DialogReady", "DialogFinish"):
    text = text.replace(key + "=1\r", key + "=0\r")
text = text.replace("3=<InstallDir>\\docs\\manual.txt?files\\docs\\manual.txt?Overwrite?Yes\r\n",
                    "3=<InstallDir>\\docs\\manual.txt?files\\docs\\manual.txt?Overwrite?Yes\r\n"
                    "4=<InstallDir>\\large.bin?files\\large.bin?Overwrite?Yes\r\n")
open(path, "w", newline="").write(text)
PY
rm -f "$WORK/large/German.lng"
head -c 150000000 /dev/urandom > "$WORK/large/files/large.bin"
"$SETUP_PACK" --pad --stub "$SETUP_EXE" --out "$WORK/large.exe" "$WORK/large" >/dev/null
rm -rf "$WORK/large"
status=0
(cd "$WORK" && timeout 300 wine "$WORK/large.exe") &
pid=$!
check "large: the wizard window appears" window
app="$WINEPREFIX/drive_c/Program Files (x86)/Example Notes"
# The small files come first; the cancel comes while the large one is being copied.
for _ in $(seq 300); do [ -f "$app/docs/manual.txt" ] && break; sleep 0.1; done
press Escape
shot 11-cancel-confirmation
check "large: the confirmation answered Yes" answer_box "Exit Setup" y 30
wait "$pid" || status=$?
wineserver -w
check "large: exit code 2 (cancelled)" [ "$status" -eq 2 ]
check "large: files installed before the cancel stay" [ -f "$app/docs/manual.txt" ]
check "large: the large file was not finished" [ ! -f "$app/large.bin" ]
check "large: no temporary folder left" no_wine_temp_left
finish
