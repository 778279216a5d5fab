#!/usr/bin/env bash
# A silent installation of a realistic product on setup-host: files in nested folders under
# every exist mode, a damaged cabinet, registry entries of every type with the keep rule,
# commands of every moment, the uninstall registration and Uninstall.ini, compared with what
# they must be; then a second installation into the same folder, and the ways a run ends early
# with their exit codes.
source "$(dirname "$0")/lib/common.sh"
DATA=$SETUP_SOURCE/tests/data/product

cp -rp "$DATA" "$WORK/product"
cp "$SETUP_SOURCE"/examples/{English.lng,vqwizard.bmp,vqheader.bmp} "$WORK/product/"
"$SETUP_PACK" --stub "$SETUP_HOST" --out "$WORK/intact" "$WORK/product" >/dev/null
# The last entry's cabinet gets one byte flipped inside its data.
python3 "$E2E_LIB/payload.py" split "$WORK/intact" "$WORK/parts"
python3 - "$WORK/parts/rest" <<'PY'
import sys
data = bytearray(open(sys.argv[1], "rb").read())
data[-40] ^= 0xFF
open(sys.argv[1], "wb").write(data)
PY
python3 "$E2E_LIB/payload.py" join "$WORK/parts/stub" "$WORK/parts/setup.cab" "$WORK/parts/rest" "$WORK/setup"
chmod +x "$WORK/setup"

prepare_machine() {  # prepare_machine SANDBOX: what the computer holds before the first run
  local sandbox=$1 data="$1/C/Program Files/Test Product/data"
  mkdir -p "$sandbox/host" "$data"
  printf 'REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Seeded]\n"Existing"="old"\n"Source"="seeded value"\n' \
    > "$sandbox/host/registry.reg"
  for name in skip ask-yes ask-no old new; do echo "old $name" > "$data/$name.txt"; done
  echo "old unknown, longer than what replaces it" > "$data/unknown.txt"
  touch -d '2020-01-01 12:00' "$data/old.txt"
  touch -d '2030-01-01 12:00' "$data/new.txt"
}
# run SANDBOX ANSWER...: a silent run answering the boxes in order; sets $status.
run() {
  local sandbox=$1; shift
  printf '%s\n' "$@" > "$WORK/answers"
  rm -f "$sandbox/host/messagebox.log" "$sandbox/host/started.log"
  status=0
  SETUP_HOST_SANDBOX=$sandbox SETUP_HOST_ANSWERS=$WORK/answers "$WORK/setup" /s \
    >/dev/null 2>"$WORK/stderr" || status=$?
}
no_temp_left() {
  [ -z "$(find "$1/C/Users/setup/Temp" -mindepth 1 -maxdepth 1 -name 'VQTMP*' -print -quit)" ]
}
content_is() { [ "$(tr -d '\r' < "$1")" = "$2" ]; }
same_text() { diff <(tr -d '\r' < "$1") <(tr -d '\r' < "$2") >&2; }
registry_has() { grep -Fxq -- "$2" "$1/host/registry.reg"; }

S=$WORK/first
prepare_machine "$S"
run "$S" Yes No Yes
app="$S/C/Program Files/Test Product"
check "first run: exit code 1 (installed with errors)" [ "$status" -eq 1 ]
check "first run: no temporary folder left" no_temp_left "$S"
check "first run: nested file installed" content_is "$app/bin/lib/deep/deep.dll" "a library deep in the tree"
check "first run: Skip keeps the old file" content_is "$app/data/skip.txt" "old skip"
check "first run: Ask answered Yes replaces" content_is "$app/data/ask-yes.txt" "new ask-yes from the setup"
check "first run: Ask answered No keeps" content_is "$app/data/ask-no.txt" "old ask-no"
check "first run: older than the build date replaced" content_is "$app/data/old.txt" "new old from the setup"
check "first run: newer than the build date kept" content_is "$app/data/new.txt" "old new"
check "first run: unknown mode writes over the file" content_is "$app/data/unknown.txt" "new unknown from the setup"
check "first run: shared file installed" content_is "$S/C/Program Files/Common Files/Test Shared/shared.dll" "shared library"
check "first run: damaged file not installed" [ ! -e "$app/damaged.bin" ]
delta=$(( $(date -r "$app/bin/app.exe" +%s) - $(date -r "$DATA/files/app.exe" +%s) ))
check "first run: files keep the cabinet's date (off by $delta s)" [ "${delta#-}" -le 2 ]
check "first run: the boxes shown" same_text "$S/host/messagebox.log" "$DATA/expected-boxes.log"
check "first run: Uninstall.ini" same_text "$app/Uninstall.ini" "$DATA/expected-uninstall.ini"

reg=$S
check "registry: string" registry_has "$reg" '"Path"="C:\\Program Files\\Test Product"'
check "registry: expandable string" registry_has "$reg" '"Expand"=hex(2):25,53,79,73,74,65,6d,52,6f,6f,74,25,5c,74,65,73,74,00'
check "registry: dword from hexadecimal" registry_has "$reg" '"Count"=dword:00000010'
check "registry: dword minus one" registry_has "$reg" '"Minus"=dword:ffffffff'
check "registry: binary" registry_has "$reg" '"Blob"=hex:01,02,0a,ff'
check "registry: [Variables] value" registry_has "$reg" '"Seed"="seeded value"'
check "registry: existing value kept" registry_has "$reg" '"Existing"="old"'
check "registry: unknown type writes nothing" bash -c "! grep -q '^\"Odd\"' '$reg/host/registry.reg'"
check "registry: machine value" registry_has "$reg" '"Folder"="C:\\Program Files\\Test Product"'
check "uninstall key: display name" registry_has "$reg" '"DisplayName"="Test Product 2.0"'
check "uninstall key: estimated size" registry_has "$reg" '"EstimatedSize"=dword:00000007'
check "uninstall key: install date" registry_has "$reg" "\"InstallDate\"=\"$(date +%Y%m%d)\""
check "uninstall key: uninstaller" registry_has "$reg" '"UninstallString"="C:\\Program Files\\Test Product\\Uninstall.exe"'

menu="$S/C/Users/setup/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Test Product"
check "shortcut: group link with every field" content_is "$menu/Test Product.lnk" "[ShellLink]
Target=C:\Program Files\Test Product\bin\app.exe
Arguments=--start
Description=Runs Test Product
WorkingFolder=C:\Program Files\Test Product\bin
Icon=C:\Program Files\Test Product\bin\app.exe,2
ShowCommand=3"
check "shortcut: given working folder, no icon, lower-case show word" content_is "$menu/Read Me.lnk" "[ShellLink]
Target=C:\Program Files\Test Product\data\skip.txt
Arguments=
Description=About the product
WorkingFolder=C:\Elsewhere
ShowCommand=1"
check "shortcut: desktop link in silent mode" [ -f "$S/C/Users/setup/Desktop/Test Product.lnk" ]
check "shortcut: quick launch link without working folder for a missing target" \
  grep -q 'ShowCommand=0' "$S/C/Users/setup/AppData/Roaming/Microsoft/Internet Explorer/Quick Launch/Test Product.lnk"
check "shortcut: entry of three fields left out" [ ! -e "$menu/Broken.lnk" ]
check "INI: values written, the other-case key kept" content_is "$app/settings.ini" "[Paths]
Home=C:\Program Files\Test Product
[Owner]
Name=Test Product user"
check "association: extension" registry_has "$reg" '@="tpdocfile"'
check "association: description" registry_has "$reg" '@="Test Product document"'
check "association: program's first icon when none is given" registry_has "$reg" '@="C:\\Program Files\\Test Product\\bin\\app.exe,0"'
check "association: given icon" registry_has "$reg" '@="C:\\Program Files\\Test Product\\bin\\app.exe,3"'
check "association: quoted open command" registry_has "$reg" '@="\"C:\\Program Files\\Test Product\\bin\\app.exe\" \"%1\""'

check "commands: the before-installation one ran before the folder was known" \
  grep -Fxq 'run "\bin\app.exe" --before in \bin\ show 1' "$S/host/started.log"
check "commands: the after-installation one ran and waited" \
  content_is "$S/C/commands-ran.txt" '"C:\Program Files\Test Product\bin\post.cmd" --configure "C:\Program Files\Test Product"'
check "commands: the address opened without parameters" \
  grep -Fxq 'open https://test.example/welcome parameters  folder  show 3' "$S/host/started.log"
check "commands: nothing else started" [ "$(wc -l < "$S/host/started.log")" -eq 3 ]

# A second installation into the same folder: it installs over the first (its uninstaller is
# there) and adds no record twice.
cp "$app/Uninstall.ini" "$WORK/first-uninstall.ini"
run "$S" Yes No Yes
check "second run: exit code 1" [ "$status" -eq 1 ]
check "second run: no temporary folder left" no_temp_left "$S"
check "second run: Uninstall.ini unchanged" same_text "$app/Uninstall.ini" "$WORK/first-uninstall.ini"

# With a new file in the product the numbering goes on after the records already there.
sed -i 's/^11=<InstallDir>\\damaged.bin?/12=<InstallDir>\\damaged.bin?/; s/^10=\(.*\)$/10=\1\n11=<InstallDir>\\extra\\added.txt?files\\added.txt?Overwrite?Yes\r/' "$WORK/product/setup.ini"
echo "added later" > "$WORK/product/files/added.txt"
"$SETUP_PACK" --stub "$SETUP_HOST" --out "$WORK/setup" "$WORK/product" >/dev/null
run "$S" Yes Yes
check "third run: exit code 0" [ "$status" -eq 0 ]
# The files recorded now follow the twelve of the first run, in [Files] order.
check "third run: Ask answered Yes this time" content_is "$app/data/ask-no.txt" "new ask-no from the setup"
for record in '12=C:\Program Files\Test Product\data\ask-no.txt' \
  '13=C:\Program Files\Test Product\extra\added.txt' '14=C:\Program Files\Test Product\damaged.bin' \
  '6=C:\Program Files\Test Product\extra'; do
  check "third run: recorded $record" grep -Fxq "$record" <(tr -d '\r' < "$app/Uninstall.ini")
done
check "third run: damaged file installed now" [ -f "$app/damaged.bin" ]
check "third run: no value recorded twice" \
  [ -z "$(tr -d '\r' < "$app/Uninstall.ini" | grep '^[0-9]*=' | sort | uniq -d)" ]

finish
