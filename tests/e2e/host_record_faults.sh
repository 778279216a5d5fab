#!/usr/bin/env bash
# An uninstall record that cannot be written whole is an installation error: one box naming
# Uninstall.ini, the run goes on, exit code 1, and what could be written is there. The disks
# fill up through the host's [FolderSpace], as a small disk mounted at that folder would.
source "$(dirname "$0")/lib/common.sh"

app='C/Program Files/Example Notes'
app_win='C:\Program Files\Example Notes'
temp_win='C:\Users\setup\Temp'
cp -r "$SETUP_SOURCE/examples" "$WORK/src"
# A second run installs over the first without asking to remove it.
set_keys "$WORK/src/setup.ini" PromptUninstall=0
"$SETUP_PACK" --stub "$SETUP_HOST" --out "$WORK/setup" "$WORK/src" >/dev/null
run() {  # run NAME: a silent run in the sandbox $WORK/sb-NAME; sets $sandbox and $status
  sandbox=$WORK/sb-$1
  mkdir -p "$sandbox/host"
  status=0
  SETUP_HOST_SANDBOX=$sandbox "$WORK/setup" /s >/dev/null 2>"$WORK/$1.stderr" || status=$?
}
limit() {  # limit NAME FOLDER BYTES: the sandbox's FOLDER holds at most BYTES
  mkdir -p "$WORK/sb-$1/host"
  printf '[FolderSpace]\r\n%s=%s\r\n' "$2" "$3" > "$WORK/sb-$1/host/system.ini"
}
bytes_under() { find "$1" -type f -printf '%s\n' | awk '{ n += $1 } END { print n + 0 }'; }
record_box() {  # exactly one box, naming the record
  [ "$(grep -c '^text=' "$sandbox/host/messagebox.log")" -eq 1 ] &&
    grep -Fxq 'text=Setup could not write the uninstall information:\r\nC:\\Program Files\\Example Notes\\Uninstall.ini' \
      "$sandbox/host/messagebox.log" &&
    grep -Fxq 'caption=Setup' "$sandbox/host/messagebox.log"
}
# records_within RECORD FULL [EXTRA]: RECORD reads whole (headers and key lines only, no line
# left commented out), and every value in it is one the complete record FULL holds (or EXTRA).
records_within() {
  python3 - "$@" <<'PY'
import sys
def pairs(path):
    section, found = None, set()
    for line in open(path, newline="", encoding="latin-1").read().split("\r\n"):
        if not line:
            continue
        if line.startswith("["):
            assert line.endswith("]"), line
            section = line[1:-1]
            continue
        assert "=" in line and not line.startswith(";"), line
        found.add((section, line.split("=", 1)[1]))
    return found
got, full = pairs(sys.argv[1]), pairs(sys.argv[2])
extra = {tuple(a.split("=", 1)) for a in sys.argv[3:]}
stray = got - full - extra
assert not stray, stray
PY
}
count_lines() { grep -c '=' "$1"; }

# The complete record of a first installation, and what everything else takes.
run reference
check "reference: exit 0" [ "$status" -eq 0 ]
full=$WORK/full-record.ini
cp "$sandbox/$app/Uninstall.ini" "$full"
record_size=$(stat -c %s "$full")
app_size=$(bytes_under "$sandbox/$app")
texts_size=$(python3 - "$full" <<'PY'
import sys
text = open(sys.argv[1], "rb").read()
at = text.find(b"\r\n[", text.find(b"[General]"))
print(at + 2 if at >= 0 else len(text))
PY
)
python3 "$E2E_LIB/payload.py" split "$WORK/setup" "$WORK/parts" >/dev/null
cabextract -q -d "$WORK/unpacked" "$WORK/parts/setup.cab"
setup_files_size=$(( $(stat -c %s "$WORK/parts/setup.cab") + $(bytes_under "$WORK/unpacked") ))
largest_cab=$(sed -n 's/^[0-9]*=[^?]*?\([0-9]*\)?.*/\1/p' "$WORK/unpacked/setup.ini" | sort -n | tail -n 1)

# First installation, the temporary folder's disk full while the record grows there: the box,
# exit 1, and the record copied into place holds the texts and what else fitted.
limit first-temp-full "$temp_win" $(( setup_files_size + largest_cab + texts_size + (record_size - texts_size) / 2 ))
run first-temp-full
check "first installation, temporary disk full: exit 1" [ "$status" -eq 1 ]
check "first installation, temporary disk full: one box naming the record" record_box
check "first installation, temporary disk full: product installed" [ -f "$sandbox/$app/docs/manual.txt" ]
check "first installation, temporary disk full: record in place and whole" records_within "$sandbox/$app/Uninstall.ini" "$full"
check "first installation, temporary disk full: the texts are there" grep -q '^AppName=Example Notes' "$sandbox/$app/Uninstall.ini"
check "first installation, temporary disk full: records are missing" \
  [ "$(count_lines "$sandbox/$app/Uninstall.ini")" -lt "$(count_lines "$full")" ]
check "first installation, temporary disk full: no temporary folder left" \
  [ -z "$(find "$sandbox/C/Users/setup/Temp" -mindepth 1 -print -quit)" ]

# First installation, the installation folder's disk full when the record is copied there
# (the last step): the box, exit 1, and no cut record nor its temporary copy left.
limit copy-fails "$app_win" $(( app_size - record_size / 2 ))
run copy-fails
check "record copy fails: exit 1" [ "$status" -eq 1 ]
check "record copy fails: one box naming the record" record_box
check "record copy fails: product installed" [ -f "$sandbox/$app/docs/manual.txt" ]
check "record copy fails: no Uninstall.ini" [ ! -e "$sandbox/$app/Uninstall.ini" ]
check "record copy fails: no partial copy" [ -z "$(find "$sandbox/$app" -name 'Uninstall.ini?*' -print -quit)" ]

# Repeated installation over an earlier record, the installation folder's disk full while the
# record grows: the earlier record kept, and new ones as far as they fitted.
earlier='[Files]\r\n0=C:\\Earlier\\file.txt\r\n'
for name in repeated-full repeated-read-only; do
  run "$name"
  printf "$earlier" > "$sandbox/$app/Uninstall.ini"
done
sandbox=$WORK/sb-repeated-full
limit repeated-full "$app_win" $(( $(bytes_under "$sandbox/$app") + record_size / 2 ))
: > "$sandbox/host/messagebox.log"
run repeated-full
record=$sandbox/$app/Uninstall.ini
check "repeated installation, disk full: exit 1" [ "$status" -eq 1 ]
check "repeated installation, disk full: one box naming the record" record_box
check "repeated installation, disk full: record whole" records_within "$record" "$full" 'Files=C:\Earlier\file.txt'
check "repeated installation, disk full: earlier record kept" grep -Fxq $'0=C:\\Earlier\\file.txt\r' "$record"
check "repeated installation, disk full: new records written" grep -q '^AppName=Example Notes' "$record"
check "repeated installation, disk full: records are missing" [ "$(count_lines "$record")" -le "$(count_lines "$full")" ]
check "repeated installation, disk full: no stray rewrite file" [ -z "$(find "$sandbox/$app" -name '*.~wr' -print -quit)" ]

# Repeated installation over a read-only record: nothing can be added; the box and exit 1.
sandbox=$WORK/sb-repeated-read-only
python3 -c 'import os, sys; os.setxattr(sys.argv[1], "user.setup.attributes", b"1")' "$sandbox/$app/Uninstall.ini"
: > "$sandbox/host/messagebox.log"
run repeated-read-only
check "read-only record: exit 1" [ "$status" -eq 1 ]
check "read-only record: one box naming the record" record_box
check "read-only record: left as it was" [ "$(cat "$sandbox/$app/Uninstall.ini")" = "$(printf "$earlier")" ]

# A folder where the record goes: the copy into place fails.
mkdir -p "$WORK/sb-record-folder/$app/Uninstall.ini"
run record-folder
check "a folder named Uninstall.ini: exit 1" [ "$status" -eq 1 ]
check "a folder named Uninstall.ini: one box naming the record" record_box
check "a folder named Uninstall.ini: the folder kept" [ -d "$sandbox/$app/Uninstall.ini" ]

finish
