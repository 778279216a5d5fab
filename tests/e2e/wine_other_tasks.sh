#!/usr/bin/env bash
# setup.exe /s under Wine hands [Others] files to the system for real: a TrueType font, a
# self-registering library (its DllRegisterServer writes a registry value), a library without
# that export (kept), a type library compiled by widl and the wallpaper; the registry is read
# back with `reg query`, and Uninstall.ini must hold the records of all but the kept entry.
source "$(dirname "$0")/lib/wine.sh"

font=/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf  # Debian fonts-dejavu-core
for needed in "$font" "$SETUP_WINDOWS_BIN/register_me.dll" "$SETUP_WINDOWS_BIN/no_register.dll" \
  "$SETUP_WINDOWS_BIN/test_library.tlb"; do
  [ -f "$needed" ] || { echo "missing $needed (scripts/install-deps, Windows build)" >&2; exit 1; }
done
start_wine

product=$WORK/product
cp -r "$SETUP_SOURCE/examples" "$product"
cp "$font" "$SETUP_WINDOWS_BIN"/{register_me.dll,no_register.dll,test_library.tlb} "$product/files/"
cp "$SETUP_SOURCE/examples/vqheader.bmp" "$product/files/wall.bmp"
python3 - "$product/setup.ini" <<'PY'
import sys
path = sys.argv[1]
text = open(path, newline="").read()
files = ["DejaVuSans.ttf", "register_me.dll", "no_register.dll", "test_library.tlb", "wall.bmp"]
added = "".join("%d=<InstallDir>\\%s?files\\%s?Overwrite?Yes\r\n" % (4 + i, name, name)
                for i, name in enumerate(files))
text = text.replace("\r\n\r\n[Shortcuts]", "\r\n" + added + "\r\n[Shortcuts]", 1)
others = ("[Others]\r\n"
          "0=Font*?<InstallDir>\\DejaVuSans.ttf*?No\r\n"
          "1=ActiveX*?<InstallDir>\\register_me.dll*?No\r\n"
          "2=ActiveX*?<InstallDir>\\no_register.dll*?Yes\r\n"
          "3=Type Library*?<InstallDir>\\test_library.tlb*?No\r\n"
          "4=Wallpaper*?<InstallDir>\\wall.bmp*?No\r\n")
assert "[Others]\r\n" in text and added in text
text = text.replace("[Others]\r\n", others, 1)
open(path, "w", newline="").write(text)
PY
"$SETUP_PACK" --pad --stub "$SETUP_EXE" --out "$WORK/setup.exe" "$product" >/dev/null

# Tiling on before: the installation must turn it off.
wine reg add 'HKCU\Control Panel\Desktop' /v TileWallpaper /d 1 /f >/dev/null 2>&1
wineserver -w

status=0
(cd "$WORK" && WINEDEBUG=+relay timeout 300 wine "$WORK/setup.exe" /s 2>"$WORK/run.trace") &
pid=$!
# No box is expected; one that shows up anyway is answered so the run can end, and counted.
boxes=0
while kill -0 "$pid" 2>/dev/null; do
  if [ -n "$(xdotool search --onlyvisible --name '^Setup$' 2>/dev/null | head -n 1 || true)" ]; then
    answer_box Setup Return 5 || true
    boxes=$((boxes + 1))
  fi
  sleep 0.5
done
wait "$pid" || status=$?
wineserver -w
check "exit code 0 (no error reported)" [ "$status" -eq 0 ]
check "no message box shown" [ "$boxes" -eq 0 ]
check "no message box traced" bash -c "! grep -aq 'Call user32.MessageBoxA(' '$WORK/run.trace'"

pf='C:\Program Files (x86)'
app="$pf\\Example Notes"
printf '%s\r\n' '@echo off' 'reg query "HKCU\Software\Setup Test"' \
  'reg query "HKCU\Control Panel\Desktop"' \
  'reg query "HKCR\TypeLib\{5C1E3C4A-7A1B-4E55-9D2B-3F5A6C7D8E91}" /s /reg:32' \
  > "$WORK/query.bat"
(cd "$WORK" && wine cmd /c query.bat) | tr -d '\r' > "$WORK/registry.txt"
wineserver -w
value_is() {  # value_is NAME TYPE DATA: a line of `reg query` output
  grep -Eq "^ +$1 +$2 +$(printf '%s' "$3" | sed 's/[][\.*^$()+?{}|]/\\&/g')\$" "$WORK/registry.txt"
}
check "DllRegisterServer ran" value_is Registered REG_SZ yes
check "type library registered: name" value_is '\(Default\)' REG_SZ "Setup Test Library"
check "type library registered: file" value_is '\(Default\)' REG_SZ "$app\\test_library.tlb"
check "type library registered: help folder" value_is '\(Default\)' REG_SZ "$app"
check "wallpaper: file" value_is Wallpaper REG_SZ "$app\\wall.bmp"
check "wallpaper: tiling off" value_is TileWallpaper REG_SZ 0

record="$WINEPREFIX/drive_c/Program Files (x86)/Example Notes/Uninstall.ini"
section() {  # section NAME: the values of a section of the record, one a line
  tr -d '\r' < "$record" | awk -v name="[$1]" '/^\[/ { on = ($0 == name); next } on && /=/ { sub(/^[^=]*=/, ""); print }'
}
check "record: [Fonts]" [ "$(section Fonts)" = "$app\\DejaVuSans.ttf" ]
check "record: [ActiveX] without the kept library" [ "$(section ActiveX)" = "$app\\register_me.dll" ]
check "record: [TypeLibrary]" [ "$(section TypeLibrary)" = "$app\\test_library.tlb" ]
check "record: [Wallpaper]" [ "$(section Wallpaper)" = "$app\\wall.bmp" ]
finish
