#!/usr/bin/env bash
# setup-host's machine configuration: the registry file in the sandbox (written at start, seeds
# applied over the default machine), the folders every machine has, and the refusal of
# malformed registry.reg and system.ini files. The program itself needs no payload for this:
# the configuration is read before anything else.
source "$(dirname "$0")/lib/common.sh"

# run NAME: runs setup-host in the sandbox $WORK/NAME (prepared by the caller); sets $status.
run() {
  sandbox=$WORK/$1
  mkdir -p "$sandbox/host"
  status=0
  SETUP_HOST_SANDBOX=$sandbox "$SETUP_HOST" /s >"$WORK/$1.stdout" 2>"$WORK/$1.stderr" || status=$?
}
registry() { cat "$sandbox/host/registry.reg"; }
has_line() { grep -Fxq -- "$1" "$sandbox/host/registry.reg"; }

run fresh
check "fresh: registry file written" [ -s "$sandbox/host/registry.reg" ]
check "fresh: it is REGEDIT4 text" [ "$(head -n 1 "$sandbox/host/registry.reg")" = "REGEDIT4" ]
check "fresh: default machine's Internet Explorer" has_line '"Version"="8.0.7601.17514"'
check "fresh: default machine's program files" has_line '"ProgramFilesDir"="C:\\Program Files"'
for folder in Windows/system32 Windows/Fonts "Users/setup/Desktop" "Users/setup/Documents" \
  "Users/setup/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Startup" \
  "ProgramData/Microsoft/Windows/Start Menu/Programs" "Users/Public/Desktop"; do
  check "fresh: folder C:/$folder exists" [ -d "$sandbox/C/$folder" ]
done

mkdir -p "$WORK/seeded/host"
cat > "$WORK/seeded/host/registry.reg" <<'REG'
REGEDIT4

[HKEY_LOCAL_MACHINE\SOFTWARE\JavaSoft\Java Runtime Environment\1.6]
"JavaHome"="C:\\Program Files\\Java\\jre6"

[-HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Internet Explorer]
REG
cat > "$WORK/seeded/host/system.ini" <<'INI'
[System]
WindowsFolder=D:\WINNT
[SpecialFolders]
20=D:\WINNT\Fonts
INI
run seeded
check "seeded: seed kept" has_line '"JavaHome"="C:\\Program Files\\Java\\jre6"'
check "seeded: seed's parent keys written" has_line '[HKEY_LOCAL_MACHINE\SOFTWARE\JavaSoft]'
check "seeded: deleted key gone" bash -c "! grep -q 'Internet Explorer' '$sandbox/host/registry.reg'"
check "seeded: rest of the default machine kept" has_line '"CommonFilesDir"="C:\\Program Files\\Common Files"'
check "seeded: configured Windows folder created" [ -d "$sandbox/D/WINNT/Fonts" ]

for file in registry.reg system.ini; do
  mkdir -p "$WORK/bad-$file/host"
  case $file in
    registry.reg) printf '[HKLM\\A]\n"P"="C:\\Windows"\n' > "$WORK/bad-$file/host/$file" ;;
    system.ini) printf '[System]\nWow64=Perhaps\n' > "$WORK/bad-$file/host/$file" ;;
  esac
  run "bad-$file"
  check "malformed $file: exit code 78" [ "$status" -eq 78 ]
  check "malformed $file: the line is named" grep -q "$file: line 2:" "$WORK/bad-$file.stderr"
  check "malformed $file: no message box shown" [ ! -e "$sandbox/host/messagebox.log" ]
done

finish
