#!/usr/bin/env bash
# The requirements gate as start-up runs it: a setup file that does not allow the host's Windows
# stops with the language's message before anything is installed, and leaves no temporary
# folder; one that allows it goes on. The language is the detected one.
source "$(dirname "$0")/lib/common.sh"

# product NAME KEY=VALUE...: the example product with [Setup] keys changed, packed onto
# setup-host as $WORK/NAME.
product() {
  local name=$1; shift
  cp -r "$SETUP_SOURCE/examples" "$WORK/$name.src"
  set_keys "$WORK/$name.src/setup.ini" "$@"
  "$SETUP_PACK" --stub "$SETUP_HOST" --out "$WORK/$name" "$WORK/$name.src" >/dev/null
}

# run NAME SETUPFILE [SYSTEM-INI-LINES]: a silent run in a fresh sandbox; sets $sandbox, $status.
run() {
  local name=$1 file=$2 facts=${3:-}
  sandbox=$WORK/sandbox-$name
  rm -rf "$sandbox"; mkdir -p "$sandbox/host"
  [ -n "$facts" ] && printf '%b' "$facts" > "$sandbox/host/system.ini"
  status=0
  SETUP_HOST_SANDBOX=$sandbox "$file" /s 2>"$WORK/$name.stderr" || status=$?
}
no_temp_left() {
  [ -z "$(find "$sandbox/C/Users/setup/Temp" -mindepth 1 -maxdepth 1 -name 'VQTMP*' -print -quit)" ]
}
box_log_is() { [ "$(cat "$sandbox/host/messagebox.log" 2>/dev/null)" = "$(printf '%s' "$1")" ]; }
no_boxes() { [ ! -e "$sandbox/host/messagebox.log" ]; }

product no-win7 Win7=0
run no-win7 "$WORK/no-win7"
check "Win7 off on Windows 7: exit code 3" [ "$status" -eq 3 ]
check "Win7 off on Windows 7: message 3 with the allowed families" box_log_is "caption=Setup - Example Notes 1.0
text=This application runs only on Windows 95/98/ME/NT/2000/XP/Server 2003/Vista
style=0x00000030
owned=0
answer=1
--"
check "Win7 off on Windows 7: no temporary folder left" no_temp_left

# The same setup on a German Windows XP goes on; on a German Windows 7 it stops in German.
run xp "$WORK/no-win7" '[System]\nVersion=5.1.2600\nLanguageId=1031\n'
check "Windows XP allowed: exit code 0" [ "$status" -eq 0 ]
check "Windows XP allowed: no message box" no_boxes
check "Windows XP allowed: no temporary folder left" no_temp_left
run german "$WORK/no-win7" '[System]\nLanguageId=1031\n'
check "German Windows 7: exit code 3" [ "$status" -eq 3 ]
check "German Windows 7: the German message" env LC_ALL=C grep -aq 'text=Diese Anwendung l.uft nur unter Windows 95/98/ME/NT/2000/XP/Server 2003/Vista$' "$sandbox/host/messagebox.log"

product admin Admin=1
run admin-member "$WORK/admin"
check "administrator required and present: exit code 0" [ "$status" -eq 0 ]
run admin-missing "$WORK/admin" '[Membership]\n544=No\n'
check "administrator required and missing: exit code 3" [ "$status" -eq 3 ]
check "administrator required and missing: message 4" grep -q '^text=You must be logged on as an administrator' "$sandbox/host/messagebox.log"
check "administrator required and missing: no temporary folder left" no_temp_left

# Server 2003 asks the 64-bit question; a system that refuses it ends the run with the error
# shown and nothing left behind, rather than guessing.
run refused "$WORK/no-win7" '[System]\nVersion=5.2.3790\nWow64=Failed\n'
check "refused 64-bit query: exit code 5" [ "$status" -eq 5 ]
check "refused 64-bit query: the error shown" box_log_is "caption=Setup - Example Notes 1.0
text=Bad process handle
style=0x00000010
owned=0
answer=1
--"
check "refused 64-bit query: no temporary folder left" no_temp_left

# Requirements met: the run goes on to its silent end.
run met "$WORK/admin"
check "requirements met: exit code 0" [ "$status" -eq 0 ]
check "requirements met: no temporary folder left" no_temp_left

finish
