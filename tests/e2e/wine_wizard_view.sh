#!/usr/bin/env bash
# The wizard's real window without a setup file, under Wine: the demo program's checks of the
# live controls (places, texts, lists, keyboard: Tab, Enter, Escape, the labels' access keys;
# moving controls; the end of the session reported to the form) and of the keyboard-cue repaint.
source "$(dirname "$0")/lib/wine.sh"
start_wine

demo=$SETUP_WINDOWS_BIN/wizard_view_demo.exe
check "the demo program was built" [ -f "$demo" ]
cp "$demo" "$WORK/demo.exe"
cp "$SETUP_SOURCE/examples/vqwizard.bmp" "$WORK/picture.bmp"
printf '{\\rtf1\\ansi Licence text\\par}' > "$WORK/text.rtf"

for mode in check altfix; do
  args=(); [ "$mode" = check ] && args=(picture.bmp text.rtf)
  status=0
  (cd "$WORK" && timeout 120 wine demo.exe "$mode" "${args[@]}") >"$WORK/$mode.txt" 2>/dev/null ||
    status=$?
  tr -d '\r' < "$WORK/$mode.txt" | sed "s/^/  $mode: /"
  check "$mode: every check passed (exit code $status)" [ "$status" -eq 0 ]
  check "$mode: the checks ran to the end" grep -q '^0 failed' <(tr -d '\r' < "$WORK/$mode.txt")
done
wineserver -w
finish
