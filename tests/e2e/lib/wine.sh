# Helpers of the Windows tests: a fresh Wine prefix and a private X display per test file,
# message boxes answered with xdotool, everything removed on exit.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree=d;mshtml=d"
export WINEPREFIX=$WORK/prefix

start_display() {
  local n
  for n in $(seq 90 140); do
    [ -e "/tmp/.X$n-lock" ] && continue
    Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
    XVFB_PID=$!
    for _ in $(seq 50); do
      if xdpyinfo -display ":$n" >/dev/null 2>&1; then
        export DISPLAY=":$n"
        cleanup_hooks+=("kill $XVFB_PID")
        return 0
      fi
      kill -0 "$XVFB_PID" 2>/dev/null || break
      sleep 0.1
    done
  done
  echo "no X display could be started" >&2
  return 1
}

start_wine() {
  start_display
  cleanup_hooks=("wineserver -k" "${cleanup_hooks[@]}")
  wineboot -i >/dev/null 2>&1
  # With WINEDEBUG=+relay only message boxes are traced, with their text and caption.
  wine reg add 'HKCU\Software\Wine\Debug' /v RelayInclude /d 'user32.MessageBoxA' /f >/dev/null 2>&1
  wineserver -w
  WIN_TEMP=$WINEPREFIX/drive_c/users/$(id -un)/Temp
  mkdir -p "$WIN_TEMP"
}

# answer_box CAPTION KEY [TIMEOUT]: waits for a window with that caption and sends the key.
answer_box() {
  local caption=$1 key=$2 timeout=${3:-60} id=""
  for _ in $(seq $((timeout * 5))); do
    id=$(xdotool search --onlyvisible --name "^${caption}\$" 2>/dev/null | head -n 1 || true)
    [ -n "$id" ] && break
    sleep 0.2
  done
  [ -n "$id" ] || return 1
  sleep 0.5
  xdotool key --window "$id" "$key"
  # The next box may carry the same caption: wait until this one is gone.
  for _ in $(seq 50); do
    xdotool getwindowname "$id" >/dev/null 2>&1 || return 0
    sleep 0.2
  done
}

# installs_example EXE LABEL: EXE (in $WORK), a setup file of the example, installs it silently:
# exit code 0, every file as the product has it, no temporary folder left.
installs_example() {
  local exe=$1 label=$2 status=0 file
  (cd "$WORK" && wine "$exe" /s) || status=$?
  wineserver -w
  local app="$WINEPREFIX/drive_c/Program Files (x86)/Example Notes"
  check "$label: installs silently, exit code 0" [ "$status" -eq 0 ]
  for file in notes.bat readme.txt license.txt docs/manual.txt; do
    check "$label: $file installed" cmp -s "$app/$file" "$SETUP_SOURCE/examples/files/$file"
  done
  check "$label: no temporary folder left" no_wine_temp_left
}

no_wine_temp_left() { [ -z "$(find "$WIN_TEMP" -mindepth 1 -maxdepth 1 -iname 'VQTMP*' -print -quit)" ]; }

# box_traced TRACE TEXT CAPTION: the relay trace holds a message box with that text and caption.
box_traced() {
  grep -aF "Call user32.MessageBoxA(" "$1" | grep -aF "\"$2\"," | grep -aqF "\"$3\","
}
