#!/usr/bin/env bash
# setup.exe stays small enough to be padded to the default payload offset, and imports only
# DLLs that Windows itself ships.
source "$(dirname "$0")/lib/common.sh"

size=$(stat -c %s "$SETUP_EXE")
echo "setup.exe: $size bytes (limit 250880)"
check "setup.exe is at most 250880 bytes" [ "$size" -le 250880 ]

imports=$(i686-w64-mingw32-objdump -p "$SETUP_EXE" | awk '/DLL Name:/ {print tolower($3)}' | sort -u)
echo "imports: $(echo $imports)"
allowed=" kernel32.dll user32.dll gdi32.dll advapi32.dll shell32.dll ole32.dll oleaut32.dll comctl32.dll comdlg32.dll msvcrt.dll "
for dll in $imports; do
  check "imports only system DLLs: $dll" [ -n "$(echo "$allowed" | grep -F " $dll ")" ]
done
headers=$(i686-w64-mingw32-objdump -p "$SETUP_EXE")
is_gui() { grep -Eq '^Subsystem\s+0+2\b' <<<"$headers"; }
check "is a GUI program" is_gui
manifest=$(strings "$SETUP_EXE" | tr -d '\n' )
check "manifest asks for administrator rights" grep -q 'requireAdministrator' <<<"$manifest"
check "manifest binds common controls 6" grep -q 'Microsoft.Windows.Common-Controls' <<<"$manifest"
finish
