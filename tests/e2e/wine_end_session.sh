#!/usr/bin/env bash
# Logging off with the wizard open, under Wine: `wineboot --end-session` sends the session-end
# messages to every window, as Windows does when the user logs off or shuts down. The wizard
# ends at once and leaves no temporary folder.
source "$(dirname "$0")/lib/wine.sh"
start_wine

"$SETUP_PACK" --pad --stub "$SETUP_EXE" --out "$WORK/setup.exe" "$SETUP_SOURCE/examples" >/dev/null
title='Example Notes 1.0 Setup'
window_shown() {
  for _ in $(seq 150); do
    xdotool search --onlyvisible --name "^$title\$" >/dev/null 2>&1 && return 0
    sleep 0.2
  done
  return 1
}
temp_folder_there() { [ -n "$(find "$WIN_TEMP" -mindepth 1 -maxdepth 1 -iname 'VQTMP*' -print -quit)" ]; }
ended() {  # ended PID SECONDS
  for _ in $(seq $(($2 * 5))); do
    kill -0 "$1" 2>/dev/null || return 0
    sleep 0.2
  done
  return 1
}

status=0
(cd "$WORK" && timeout 120 wine "$WORK/setup.exe") &
pid=$!
check "the wizard window appears" window_shown
check "the temporary folder is there while the wizard is open" temp_folder_there
wineboot --end-session >/dev/null 2>&1 || true
check "the wizard ends when the session ends" ended "$pid" 30
wait "$pid" || status=$?
echo "exit code $status"
check "it ended by its own session-end handling (exit code 2, cancelled)" [ "$status" -eq 2 ]
check "no temporary folder left" no_wine_temp_left
finish
