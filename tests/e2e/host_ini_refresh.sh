#!/usr/bin/env bash
# The setup script and Uninstall.ini are read again when someone else changed them: a
# before-installation command that computes InstallationPath into setup.ini is honoured, and in
# a repeated installation what a waited-for command or an [INI] entry adds to Uninstall.ini
# survives the records written after it.
source "$(dirname "$0")/lib/common.sh"

# product NAME: the example product packed as $WORK/NAME from $WORK/NAME.src, prepared by the caller.
pack() { "$SETUP_PACK" --stub "$SETUP_HOST" --out "$WORK/$1" "$WORK/$1.src" >/dev/null; }
# add_entries SETUP.INI SECTION LINE...: appends entries to a section of the script.
add_entries() {
  python3 - "$@" <<'PY'
import sys
path, section, entries = sys.argv[1], sys.argv[2], sys.argv[3:]
text = open(path, newline="").read()
header = "[%s]\r\n" % section
at = text.index(header) + len(header)
rest = text[at:]
end = rest.find("\r\n[")
end = len(rest) if end < 0 else end + 2
if end and not rest[:end].endswith("\r\n"):
    rest = rest[:end] + "\r\n" + rest[end:]
    end += 2
text = text[:at] + rest[:end] + "".join(e + "\r\n" for e in entries) + rest[end:]
open(path, "w", newline="").write(text)
PY
}
# run SANDBOX SETUPFILE: a silent run; sets $status.
run() {
  status=0
  SETUP_HOST_SANDBOX=$1 "$2" /s >/dev/null 2>"$WORK/stderr" || status=$?
}
ini() { python3 "$E2E_LIB/ini_check.py" "$@"; }

# A command before the installation rewrites InstallationPath in the unpacked setup.ini.
cp -r "$SETUP_SOURCE/examples" "$WORK/computed.src"
add_entries "$WORK/computed.src/setup.ini" Commands \
  '0=C:\tools\compute-path.sh*?*?Hide*?Before Installation*?Yes'
pack computed
S=$WORK/sb-computed
mkdir -p "$S/C/tools"
cat > "$S/C/tools/compute-path.sh" <<'SH'
#!/bin/sh
for script in "$SETUP_HOST_SANDBOX"/C/Users/setup/Temp/VQTMP*/setup.ini; do
  sed -i 's/^InstallationPath=.*$/InstallationPath=C:\\Computed\\Destination Folder\r/' "$script"
done
SH
run "$S" "$WORK/computed"
check "computed path: exit code 0" [ "$status" -eq 0 ]
check "computed path: installed where the command said" [ -f "$S/C/Computed/Destination Folder/readme.txt" ]
check "computed path: not in the scripted folder" [ ! -e "$S/C/Program Files/Example Notes" ]
check "computed path: the record names it" [ "$(ini "$S/C/Computed/Destination Folder/Uninstall.ini" get General InstallDir)" = 'C:\Computed\Destination Folder' ]

# A repeated installation into the same folder; the second setup has a command that adds a
# section to the record and an [INI] entry aimed at the record, each followed by new records.
cp -r "$SETUP_SOURCE/examples" "$WORK/first.src"
pack first
cp -r "$SETUP_SOURCE/examples" "$WORK/second.src"
echo "new in the second version" > "$WORK/second.src/files/added.txt"
add_entries "$WORK/second.src/setup.ini" Files '4=<InstallDir>\added.txt?files\added.txt?Overwrite?Yes'
add_entries "$WORK/second.src/setup.ini" INI \
  '4=<InstallDir>\Uninstall.ini*?Custom*?FromIni*?written by the INI task*?Yes*?No'
add_entries "$WORK/second.src/setup.ini" Extensions \
  '1=exnote2*?<InstallDir>\notes.bat*?Example Notes file 2*?*?0'
add_entries "$WORK/second.src/setup.ini" Commands \
  '0=C:\tools\add-record.sh*?*?Hide*?After Installation*?Yes' \
  '1=<InstallDir>\cleanup.bat*?*?Hide*?Before Uninstallation*?Yes'
pack second
S=$WORK/sb-repeated
mkdir -p "$S/C/tools"
cat > "$S/C/tools/add-record.sh" <<'SH'
#!/bin/sh
printf '[FromCommand]\r\nAdded=by the command\r\n' >> "$SETUP_HOST_SANDBOX/C/Program Files/Example Notes/Uninstall.ini"
SH
run "$S" "$WORK/first"
record="$S/C/Program Files/Example Notes/Uninstall.ini"
check "first installation: exit code 0" [ "$status" -eq 0 ]
check "first installation: record in place" [ -f "$record" ]
run "$S" "$WORK/second"
check "repeated installation: exit code 0" [ "$status" -eq 0 ]
check "repeated installation: the command's section kept" [ "$(ini "$record" get FromCommand Added)" = "by the command" ]
check "repeated installation: the [INI] entry's value kept" [ "$(ini "$record" get Custom FromIni)" = "written by the INI task" ]
check "repeated installation: the new file recorded" \
  ini "$record" has Files 'C:\Program Files\Example Notes\added.txt'
check "repeated installation: the new association recorded" \
  ini "$record" has RegistryKeys 'HKEY_CLASSES_ROOT*?.exnote2'
check "repeated installation: the uninstall command recorded" \
  ini "$record" has ExecBeforeUninstall 'C:\Program Files\Example Notes\cleanup.bat*?*?Hide*?Yes'
check "repeated installation: the record is well formed" ini "$record" wellformed
check "repeated installation: no value twice in [Files]" \
  [ -z "$(ini "$record" values Files | sort | uniq -d)" ]
finish
