#!/usr/bin/env bash
# setup.exe /s under Wine installs the realistic product for real: files under drive_c with the
# cabinets' dates, registry values and the uninstall key read back with `reg query`,
# Uninstall.ini in the installation folder, INI values through the system's profile service (a
# UTF-16 file stays UTF-16, a registry-mapped file reaches the registry), the boxes answered by
# key presses, the temporary folder gone, and the exit code that says an error was reported.
source "$(dirname "$0")/lib/wine.sh"
start_wine
DATA=$SETUP_SOURCE/tests/data/product

cp -rp "$DATA" "$WORK/product"
cp "$SETUP_SOURCE"/examples/{English.lng,vqwizard.bmp,vqheader.bmp} "$WORK/product/"
# Windows runs a real program after the installation: the command interpreter leaves a file.
sed -i 's|^1=<InstallDir>\\bin\\post.cmd\*?.*$|1=<SystemDir>\\cmd.exe*?/c echo ran>"<InstallDir>\\ran.txt"*?Hide*?After Installation*?Yes\r|' \
  "$WORK/product/setup.ini"
# Two [INI] entries for a UTF-16 file the computer already has: one key to keep, one to add.
python3 - "$WORK/product/setup.ini" <<'PY'
import sys
path = sys.argv[1]
text = open(path, newline="").read()
anchor = "2=<InstallDir>\\settings.ini*?Owner*?Name*?<AppName> user*?Yes*?No\r\n"
assert anchor in text
text = text.replace(anchor, anchor +
                    "3=<InstallDir>\\wide.ini*?Options*?Kept*?new value*?No*?No\r\n"
                    "4=<InstallDir>\\wide.ini*?Options*?Added*?<AppName>*?No*?No\r\n"
                    "5=<WindowsDir>\\setuptest.ini*?Mapped*?Owner*?<AppName>*?Yes*?No\r\n", 1)
open(path, "w", newline="").write(text)
PY
"$SETUP_PACK" --pad --stub "$SETUP_EXE" --out "$WORK/intact.exe" "$WORK/product" >/dev/null
python3 "$E2E_LIB/payload.py" split "$WORK/intact.exe" "$WORK/parts"
python3 - "$WORK/parts/rest" <<'PY'
import sys
data = bytearray(open(sys.argv[1], "rb").read())
data[-40] ^= 0xFF
open(sys.argv[1], "wb").write(data)
PY
python3 "$E2E_LIB/payload.py" join "$WORK/parts/stub" "$WORK/parts/setup.cab" "$WORK/parts/rest" "$WORK/setup.exe"

pf='C:\Program Files (x86)'
# What the computer holds before: earlier files and registry values.
app_unix="$WINEPREFIX/drive_c/Program Files (x86)/Test Product"
mkdir -p "$app_unix/data"
for name in skip ask-yes ask-no old new; do echo "old $name" > "$app_unix/data/$name.txt"; done
python3 -c 'import sys; open(sys.argv[1], "wb").write(b"\xff\xfe" + "[Options]\r\nKept=old value\r\nOther=1\r\n".encode("utf-16-le"))' "$app_unix/wide.ini"
touch -d '2020-01-01 12:00' "$app_unix/data/old.txt"
touch -d '2030-01-01 12:00' "$app_unix/data/new.txt"
printf '%s\r\n' '@echo off' \
  'reg add "HKCU\Software\Seeded" /v Existing /d old /f >nul' \
  'reg add "HKCU\Software\Seeded" /v Source /d "seeded value" /f >nul' \
  'reg add "HKLM\Software\Microsoft\Windows NT\CurrentVersion\IniFileMapping\setuptest.ini" /v Mapped /d "USR:Software\Setup Test Mapped" /f /reg:32 >nul' \
  'reg add "HKLM\Software\Microsoft\Windows NT\CurrentVersion\IniFileMapping\setuptest.ini" /v Mapped /d "USR:Software\Setup Test Mapped" /f /reg:64 >nul' \
  > "$WORK/seed.bat"
(cd "$WORK" && wine cmd /c seed.bat)
wineserver -w

status=0
(cd "$WORK" && WINEDEBUG=+relay timeout 300 wine "$WORK/setup.exe" /s 2>"$WORK/run.trace") &
pid=$!
check "box for ask-yes answered Yes" answer_box Setup Return 120
check "box for ask-no answered No" answer_box Setup n 60
check "box for the damaged file answered Yes" answer_box Setup Return 60
wait "$pid" || status=$?
wineserver -w
check "exit code 1 (installed with errors)" [ "$status" -eq 1 ]
check "no temporary folder left" no_wine_temp_left
check "the boxes' texts" box_traced "$WORK/run.trace" \
  'The file already exists:\r\nC:\\Program Files (x86)\\Test Product\\data\\ask-no.txt\r\n\r\nWould you like Setup to overwrite it?' Setup

content_is() { [ "$(tr -d '\r' < "$1")" = "$2" ]; }
check "nested file installed" content_is "$app_unix/bin/lib/deep/deep.dll" "a library deep in the tree"
check "Skip kept the old file" content_is "$app_unix/data/skip.txt" "old skip"
check "Ask answered Yes replaced" content_is "$app_unix/data/ask-yes.txt" "new ask-yes from the setup"
check "Ask answered No kept" content_is "$app_unix/data/ask-no.txt" "old ask-no"
check "older than the build date replaced" content_is "$app_unix/data/old.txt" "new old from the setup"
check "newer than the build date kept" content_is "$app_unix/data/new.txt" "old new"
check "damaged file not installed" [ ! -e "$app_unix/damaged.bin" ]
check "the after-installation command ran and was waited for" content_is "$app_unix/ran.txt" "ran"
for file in bin/app.exe bin/lib/deep/deep.dll data/old.txt; do
  source_time=$(date -r "$DATA/files/$(basename "$file")" +%s)
  installed_time=$(date -r "$app_unix/$file" +%s)
  delta=$(( installed_time - source_time ))
  check "$file has the cabinet's date (off by $delta s)" [ "${delta#-}" -le 2 ]
done
# Paths of the user's folders differ from the host's only in the user name.
normalized() { tr -d '\r' < "$1" | sed 's/Program Files (x86)/Program Files/; s/C:\\users\\[^\\]*\\/C:\\Users\\setup\\/'; }
check "Uninstall.ini in the installation folder" \
  diff <(normalized "$app_unix/Uninstall.ini") <(normalized "$DATA/expected-uninstall.ini")

# The links, loaded through the shell's link object.
user='C:\users\'"$(id -un)"
menu="$user"'\AppData\Roaming\Microsoft\Windows\Start Menu\Programs\Test Product'
cp "$SETUP_WINDOWS_BIN/read_links.exe" "$WORK/"
(cd "$WORK" && wine read_links.exe "$menu\\Test Product.lnk" "$menu\\Read Me.lnk" \
  "$user\\Desktop\\Test Product.lnk" \
  "$user\\AppData\\Roaming\\Microsoft\\Internet Explorer\\Quick Launch\\Test Product.lnk") \
  | tr -d '\r' > "$WORK/links.txt" || true
wineserver -w
link_fields() {  # link_fields LINK: its lines without the link line and Wine's show=
  # Through the environment: awk would read backslashes in -v values as escapes.
  LINK="link=$1" awk '$0 == ENVIRON["LINK"] { on = 1; next } /^link=/ { on = 0 } on && !/^show=/' "$WORK/links.txt"
}
check "group link read back" [ "$(link_fields "$menu\\Test Product.lnk")" = "target=$pf\\Test Product\\bin\\app.exe
arguments=--start
description=Runs Test Product
folder=$pf\\Test Product\\bin
icon=$pf\\Test Product\\bin\\app.exe,2
stored-show=3" ]
check "second group link read back" [ "$(link_fields "$menu\\Read Me.lnk")" = "target=$pf\\Test Product\\data\\skip.txt
arguments=
description=About the product
folder=C:\\Elsewhere
icon=,0
stored-show=1" ]
check "desktop link read back" grep -Fxq 'description=On the desktop' <(link_fields "$user\\Desktop\\Test Product.lnk")
check "quick launch link read back" grep -Fxq 'stored-show=0' \
  <(link_fields "$user\\AppData\\Roaming\\Microsoft\\Internet Explorer\\Quick Launch\\Test Product.lnk")
check "INI values read back" content_is "$app_unix/settings.ini" "[Paths]
Home=$pf\\Test Product
[Owner]
Name=Test Product user"

# Through the system's INI service: still UTF-16 throughout, the kept key unchanged.
wide_ini_is() {
  python3 - "$app_unix/wide.ini" <<'PY'
import sys
data = open(sys.argv[1], "rb").read()
assert data[:2] == b"\xff\xfe", data[:16]
text = data[2:].decode("utf-16-le")
assert all(" " <= c < "\x7f" or c in "\r\n" for c in text), repr(text)
lines = [l for l in text.replace("\r\n", "\n").split("\n") if l]
assert lines[:3] == ["[Options]", "Kept=old value", "Other=1"], lines
assert "Added=Test Product" in lines[1:] and lines.count("[Options]") == 1, lines
PY
}
check "UTF-16 INI file: stays UTF-16, kept key unchanged, new key added" wide_ini_is

settings='HKCU\Software\Test Company\Test Product\Settings'
uninstall='HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\Test Product'
printf '%s\r\n' '@echo off' "reg query \"$settings\"" 'reg query "HKCU\Software\Seeded"' \
  'reg query "HKLM\SOFTWARE\Test Company\Test Product" /reg:32' "reg query \"$uninstall\" /reg:32" \
  'reg query "HKCU\Software\Setup Test Mapped"' 'reg query "HKCR\.tpdoc" /ve' 'reg query "HKCR\tpdocfile\DefaultIcon" /ve' \
  'reg query "HKCR\tpdocfile\shell\open\command" /ve' \
  > "$WORK/query.bat"
(cd "$WORK" && wine cmd /c query.bat) | tr -d '\r' > "$WORK/registry.txt"
wineserver -w
value_is() {  # value_is NAME TYPE DATA: a line of `reg query` output
  grep -Eq "^ +$1 +$2 +$(printf '%s' "$3" | sed 's/[][\.*^$()+?{}|]/\\&/g')\$" "$WORK/registry.txt"
}
check "registry: string with <InstallDir>" value_is Path REG_SZ "$pf\\Test Product"
check "registry: expandable string" value_is Expand REG_EXPAND_SZ '%SystemRoot%\test'
check "registry: dword from hexadecimal" value_is Count REG_DWORD 0x10
check "registry: dword minus one" value_is Minus REG_DWORD 0xffffffff
check "registry: binary" value_is Blob REG_BINARY 01020AFF
check "registry: [Variables] value" value_is Seed REG_SZ "seeded value"
check "registry: existing value kept" value_is Existing REG_SZ old
check "registry: unknown type writes nothing" bash -c "! grep -q '^ *Odd ' '$WORK/registry.txt'"
check "registry: machine value with <ProgramFiles>" value_is Folder REG_SZ "$pf\\Test Product"
check "uninstall key: DisplayName" value_is DisplayName REG_SZ "Test Product 2.0"
check "uninstall key: DisplayIcon" value_is DisplayIcon REG_SZ "$pf\\Test Product\\bin\\app.exe"
check "uninstall key: InstallLocation" value_is InstallLocation REG_SZ "$pf\\Test Product"
check "uninstall key: EstimatedSize" value_is EstimatedSize REG_DWORD 0x7
check "uninstall key: InstallDate" value_is InstallDate REG_SZ "$(date +%Y%m%d)"
check "uninstall key: UninstallString" value_is UninstallString REG_SZ "$pf\\Test Product\\Uninstall.exe"
check "uninstall key: Publisher" value_is Publisher REG_SZ "Test Company"
check "uninstall key: URLInfoAbout" value_is URLInfoAbout REG_SZ "https://test.example"
check "INI value of a mapped file reached the registry" value_is Owner REG_SZ "Test Product"
check "... and no file" [ ! -e "$WINEPREFIX/drive_c/windows/setuptest.ini" ]
check "association: extension" value_is '\(Default\)' REG_SZ tpdocfile
check "association: program's first icon" value_is '\(Default\)' REG_SZ "$pf\\Test Product\\bin\\app.exe,0"
check "association: quoted open command" value_is '\(Default\)' REG_SZ "\"$pf\\Test Product\\bin\\app.exe\" \"%1\""
finish
