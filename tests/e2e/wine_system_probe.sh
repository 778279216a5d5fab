#!/usr/bin/env bash
# The Windows backends of the probes and of the variables against what Wine really has: the
# test program prints what they return, and each answer is compared with `wine reg query` or
# with the folders under drive_c, after seeding a few registry values.
source "$(dirname "$0")/lib/wine.sh"
start_wine

key='HKCU\Software\Probe Test'
# Registry commands are gathered into one batch file each way: a Wine start per command would
# cost a second each.
seeds=()
add() {
  local command="reg add" arg
  for arg in "$@"; do command+=" \"$arg\""; done
  seeds+=("$command /f >nul")
}
add "$key" /v Folder /t REG_SZ /d 'C:\Probe\Folder'
add "$key" /v Count /t REG_DWORD /d 4242
add "$key" /v Wrong /t REG_SZ /d 'not a number'
add 'HKLM\SOFTWARE\Microsoft\Windows NT\CurrentVersion' /v RegisteredOwner /d 'Probe Owner' /reg:32
add 'HKLM\SOFTWARE\Microsoft\Windows NT\CurrentVersion' /v RegisteredOrganization /d 'Probe Org' /reg:32
# Products Wine does not have; the version rules take the highest subkey name that reads as a
# version, whatever it holds.
add 'HKLM\SOFTWARE\JavaSoft\Java Runtime Environment\1.6' /v JavaHome /d 'C:\jre6' /reg:32
add 'HKLM\SOFTWARE\JavaSoft\Java Runtime Environment\1.8' /v JavaHome /d 'C:\jre8' /reg:32
add 'HKLM\SOFTWARE\JavaSoft\Java Runtime Environment\CurrentVersion' /v x /d 1 /reg:32
add 'HKLM\SOFTWARE\Adobe\Acrobat Reader\9.0\InstallPath' /ve /d 'C:\Reader' /reg:32
add 'HKLM\SOFTWARE\Microsoft\NET Framework Setup\NDP\v2.0.50727' /v Install /t REG_DWORD /d 1 /reg:32
add 'HKLM\SOFTWARE\Microsoft\NET Framework Setup\NDP\v3.5' /v Install /t REG_DWORD /d 1 /reg:32
add 'HKLM\SOFTWARE\Microsoft\NET Framework Setup\NDP\v4' /v Install /t REG_DWORD /d 1 /reg:32
add 'HKLM\SOFTWARE\Microsoft\Microsoft SQL Server Compact Edition\v3.5\ENU' /v x /d 1 /reg:32
printf '%s\r\n' "@echo off" "${seeds[@]}" > "$WORK/seed.bat"
(cd "$WORK" && wine cmd /c seed.bat)
wineserver -w

cat > "$WORK/setup.ini" <<'INI'
[Setup]
AppName=Probe Product
AppVersion=2.5
CompanyName=Probe Company
WebSite=https://probe.example
SupportLink=https://probe.example/help
BuildDate=2026-12-01
[Variables]
0=<ProbeFolder>*?HKEY_CURRENT_USER*?Software\Probe Test*?Folder*?STRING*?unset
1=<ProbeCount>*?HKEY_CURRENT_USER*?Software\Probe Test*?Count*?INTEGER*?0
2=<ProbeWrong>*?HKEY_CURRENT_USER*?Software\Probe Test*?Wrong*?INTEGER*?kept
3=<ProbeMissing>*?HKEY_CURRENT_USER*?Software\Probe Test*?Missing*?STRING*?<ProgramFiles>\Fallback
INI
cp "$SETUP_SOURCE/examples/English.lng" "$WORK/English.lng"
cp "$SETUP_WINDOWS_BIN/system_probe.exe" "$WORK/system_probe.exe"

# Notepad runs while the probe looks for it.
(cd "$WORK" && wine notepad.exe >/dev/null 2>&1) &
notepad=$!
for _ in $(seq 100); do
  xdotool search --name 'Notepad' >/dev/null 2>&1 && break
  sleep 0.2
done
status=0
(cd "$WORK" && wine system_probe.exe setup.ini English.lng notepad.exe NOTEPAD.EXE nothere.exe) \
  >"$WORK/probe.txt" 2>"$WORK/probe.stderr" || status=$?
kill "$notepad" 2>/dev/null || true
wineserver -k; wineserver -w
check "probe program ran" [ "$status" -eq 0 ]
tr -d '\r' < "$WORK/probe.txt" > "$WORK/probe"

probe() { sed -n "s/^$1=//p" "$WORK/probe"; }
current='HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion'
user_folders='HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\Shell Folders'
common_folders='HKLM\Software\Microsoft\Windows\CurrentVersion\Explorer\Shell Folders'
explorer='HKLM\SOFTWARE\Microsoft\Internet Explorer'
printf '%s\r\n' "@echo off" "reg query \"$current\" /reg:32" "reg query \"$user_folders\"" \
  "reg query \"$common_folders\" /reg:32" "reg query \"$explorer\" /reg:32" \
  "reg query \"$key\"" > "$WORK/query.bat"
(cd "$WORK" && wine cmd /c query.bat) | tr -d '\r' > "$WORK/registry.txt"
wineserver -w
# reg_value KEY NAME: the data of one value as `reg query` printed it.
reg_value() {
  local key=${1/#HKLM/HKEY_LOCAL_MACHINE}
  key=${key/#HKCU/HKEY_CURRENT_USER}
  # Through the environment: awk would read backslashes in -v values as escapes.
  KEY=$key NAME=$2 awk '
    BEGIN { key = ENVIRON["KEY"]; name = ENVIRON["NAME"] }
    /^HKEY_/ { inside = (tolower($0) == tolower(key)) }
    inside && index($0, "    " name "    REG_") == 1 {
      rest = substr($0, length(name) + 9); sub(/^REG_[A-Z_]* */, "", rest); print rest; exit
    }' "$WORK/registry.txt"
}
expect() {  # expect NAME EXPECTED
  local actual; actual=$(probe "$1")
  check "$1 is '$2' (got '$actual')" [ "$actual" = "$2" ]
}
# The Windows path as a folder under the prefix's drive C.
is_wine_folder() {
  local path=$1
  [[ $path == [Cc]:\\* ]] || return 1
  local unix=$WINEPREFIX/drive_c/${path:3}
  [ -d "${unix//\\//}" ]
}

expect family Win7
expect is64 "$([ -d "$WINEPREFIX/drive_c/windows/syswow64" ] && echo 1 || echo 0)"
expect owner "Probe Owner"
expect organization "Probe Org"
expect admin 1
expect administrators 1
expect dotnet 3.5
expect acrobat 9.0
expect java 1.8
expect ie "$(reg_value "$explorer" Version)"
expect sql "2005 Compact"
expect running:notepad.exe 1
expect running:NOTEPAD.EXE 1
expect running:nothere.exe 0

expect var1 "$(reg_value "$current" ProgramFilesDir)"
expect var2 "$(reg_value "$current" CommonFilesDir)"
expect var3 'C:\windows'
expect var4 'C:\windows\system32'
expect var5 "C:\\users\\$(id -un)\\Temp"
expect var8 'C:'
expect var10 'D:'
# Variable position and its shell folder as Wine records it.
for pair in 6:Fonts 7:Personal 11:SendTo 12:Favorites 14:Templates 15:AppData 18:Desktop \
  "19:Start Menu" 20:Programs 21:StartUp "36:Local AppData"; do
  expect "var${pair%%:*}" "$(reg_value "$user_folders" "${pair#*:}")"
done
for pair in "13:Common Favorites" "22:Common Desktop" "23:Common Start Menu" \
  "24:Common Programs" "25:Common StartUp" "37:Common AppData" "38:Common Documents" \
  "39:Common Templates"; do
  expect "var${pair%%:*}" "$(reg_value "$common_folders" "${pair#*:}")"
done
for position in 3 4 5 6 7 11 12 14 15 17 18 19 20 21 22 23 24 25 36 37 38 39 40; do
  value=$(probe "var$position")
  check "var$position ($value) is a folder under drive_c" is_wine_folder "$value"
done
expect var16 "$(reg_value "$user_folders" 'Local Settings')"
expect var17 "C:\\users\\$(id -un)"
expect var26 "$(probe var20)\\Probe Group"
expect var27 "$(reg_value "$user_folders" AppData)\\Microsoft\\Internet Explorer\\Quick Launch"
expect var28 'Probe Product'
expect var29 '2.5'
expect var30 'Probe Company'
expect var31 'https://probe.example'
expect var32 'https://probe.example/help'
expect var35 "$(date +%-m/%-d/%Y)"
expect var40 'C:\users\Public'
expect var43 en
expect var44 1033
expect var45 'C:\probe-temp'
expect var46 1033
expect var47 2026-12-01
check "var9 is the program's folder" [ "$(probe var9)" = "Z:${WORK//\//\\}" ]
check "var48 is the program" [ "$(probe var48)" = "Z:${WORK//\//\\}\\system_probe.exe" ]
expect 'user:<ProbeFolder>' "$(reg_value "$key" Folder)"
expect 'user:<ProbeCount>' "$(printf '%d' "$(reg_value "$key" Count)")"
expect 'user:<ProbeWrong>' kept
expect 'user:<ProbeMissing>' "$(probe var1)\\Fallback"
finish
