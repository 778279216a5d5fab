#!/usr/bin/env bash
# A repeated installation killed (SIGKILL) at every write to its record: after each kill
# Uninstall.ini still reads, holding only whole records; the next run leaves what an
# uninterrupted run leaves, with no commented-out record line and no .~wr file. (Only a folder
# that the killed run created is not recorded: the next run finds it there.)
# setup-host's SETUP_HOST_KILL_AT_WRITE=N with SETUP_HOST_KILL_FILE=Uninstall.ini makes its N-th
# write to Uninstall.ini (or its .~wr sibling) stop half-way and kill the process.
source "$(dirname "$0")/lib/common.sh"

ini() { python3 "$E2E_LIB/ini_check.py" "$@"; }
cp -r "$SETUP_SOURCE/examples" "$WORK/first.src"
"$SETUP_PACK" --stub "$SETUP_HOST" --out "$WORK/first" "$WORK/first.src" >/dev/null
# The second version records much more, one record at a time and in lists.
cp -r "$SETUP_SOURCE/examples" "$WORK/second.src"
python3 - "$WORK/second.src" <<'PY'
import sys
root = sys.argv[1]
path = root + "/setup.ini"
text = open(path, newline="").read()
files = "".join("%d=<InstallDir>\\extra\\file%d.txt?files\\extra%d.txt?Overwrite?Yes\r\n" % (4 + i, i, i)
                for i in range(6))
for i in range(6):
    open(root + "/files/extra%d.txt" % i, "w").write("extra file %d\n" % i)
commands = "".join("%d=<InstallDir>\\tool%d.exe*?/clean %d*?Hide*?Before Uninstallation*?Yes\r\n"
                   % (i, i, i) for i in range(10))
text = text.replace("[Shortcuts]\r\n", files + "[Shortcuts]\r\n", 1)
text = text.replace("[Commands]\r\n", "[Commands]\r\n" + commands, 1)
text = text.replace("[Others]\r\n", "[Others]\r\n", 1)
open(path, "w", newline="").write(text)
PY
"$SETUP_PACK" --stub "$SETUP_HOST" --out "$WORK/second" "$WORK/second.src" >/dev/null

# run SANDBOX SETUPFILE [KILL-AT]: a silent run; sets $status.
run() {
  status=0
  # Waited for as a background job, so that the shell notes no killed process.
  SETUP_HOST_SANDBOX=$1 SETUP_HOST_KILL_AT_WRITE=${3:-0} SETUP_HOST_KILL_FILE=Uninstall.ini \
    "$2" /s >/dev/null 2>"$WORK/stderr" &
  wait $! 2>/dev/null || status=$?
}
app="C/Program Files/Example Notes"

# The machine after the first version, and what the second version makes of it undisturbed.
run "$WORK/base" "$WORK/first"
check "first version: exit code 0" [ "$status" -eq 0 ]
cp -a "$WORK/base" "$WORK/reference"
run "$WORK/reference" "$WORK/second"
check "second version: exit code 0" [ "$status" -eq 0 ]
expected=$WORK/reference/$app/Uninstall.ini
check "second version: the records it adds" [ "$(ini "$expected" values ExecBeforeUninstall | wc -l)" -eq 10 ]

# The record's writes in an undisturbed run, found by killing later and later until a run ends
# by itself.
moments=0 bad_after_kill=0 bad_after_next=0 last_kill=0 n=1
while :; do
  S=$WORK/kill-$n
  rm -rf "$S"
  cp -a "$WORK/base" "$S"
  run "$S" "$WORK/second" "$n"
  [ "$status" -eq 137 ] || break
  moments=$((moments + 1))
  last_kill=$n
  record="$S/$app/Uninstall.ini"
  # Whole records only: every value is one that the undisturbed run writes.
  if ! ini "$record" within "$expected"; then
    echo "after the kill at write $n:" >&2
    bad_after_kill=$((bad_after_kill + 1))
  fi
  # A killed run leaves its temporary folder; that is another matter than the record's.
  rm -rf "$S"/C/Users/setup/Temp/VQTMP*
  run "$S" "$WORK/second"
  if [ "$status" -ne 0 ] || ! ini "$record" same-as "$expected" Folders ||
     grep -q '^;' "$record" || [ -n "$(find "$S/$app" -name '*.~wr')" ]; then
    echo "after the run that followed the kill at write $n (exit $status):" >&2
    diff <(tr -d '\r' < "$expected") <(tr -d '\r' < "$record") >&2 || true
    find "$S/$app" -name '*.~wr' >&2
    bad_after_next=$((bad_after_next + 1))
  fi
  rm -rf "$S"
  n=$((n + 1))
done
echo "killed at $moments moments (writes 1 to $last_kill)"
check "the second version was killed at many moments" [ "$moments" -ge 20 ]
check "the run past the last write ended by itself" [ "$status" -eq 0 ]
check "after every kill the record reads and holds only whole records" [ "$bad_after_kill" -eq 0 ]
check "every next run leaves the undisturbed records, no comment line, no .~wr" [ "$bad_after_next" -eq 0 ]
finish
