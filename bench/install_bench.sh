#!/usr/bin/env bash
# Silent installations timed beside cabextract doing the same extraction: (a) 1,000 files of
# 200 KB, (b) 10,000 files of 2 KB, on setup-host and (with --wine) setup.exe under Wine; and a
# product of 100 registry values. Run by hand from a release build:
#   bench/install_bench.sh BUILD_DIR [--wine] [CASE...]      cases: large small registry
# SETUP_EXE names the setup.exe to use when BUILD_DIR has none (a build without the Windows part).
# It prints one line per case: seconds of the installation, of cabextract, and their ratio.
set -euo pipefail
build=$(cd "$1" && pwd); shift
wine_too=0
if [ "${1:-}" = --wine ]; then wine_too=1; shift; fi
cases=("$@"); [ ${#cases[@]} -gt 0 ] || cases=(large small registry)
source_dir=$(cd "$(dirname "$0")/.." && pwd)
pack=$build/tools/pack/setup-pack
work=$(mktemp -d "${TMPDIR:-/tmp}/install-bench.XXXXXX")
trap 'wineserver -k 2>/dev/null || true; rm -rf "$work"' EXIT

# product DIR COUNT BYTES REGISTRY: COUNT files of BYTES random bytes in 100 folders, and
# REGISTRY registry values.
product() {
  local dir=$1 count=$2 bytes=$3 registry=$4
  mkdir -p "$dir/files"
  cp "$source_dir"/examples/{English.lng,vqwizard.bmp,vqheader.bmp} "$dir/"
  python3 - "$dir" "$count" "$bytes" "$registry" <<'PY'
import os, sys
dir, count, size, registry = sys.argv[1], int(sys.argv[2]), int(sys.argv[3]), int(sys.argv[4])
lines = ["[Setup]", "AppName=Bench", "AppVersion=1", "DisableUpdate=0",
         "InstallationPath=<ProgramFiles>\\Bench", "Uninstall=1", "FilesCount=0", "[Files]"]
for i in range(count):
    name = "f%05d.bin" % i
    with open(os.path.join(dir, "files", name), "wb") as out:
        out.write(os.urandom(size))
    lines.append("%d=<InstallDir>\\d%02d\\%s?files\\%s?Overwrite?Yes" % (i, i % 100, name, name))
lines.append("[Registry]")
for i in range(registry):
    lines.append("%d=HKEY_CURRENT_USER*?Software\\Bench*?V%d*?REG_SZ*?<InstallDir>*?Yes*?Yes" % (i, i))
open(os.path.join(dir, "setup.ini"), "w", newline="").write("\r\n".join(lines) + "\r\n")
PY
}

# The per-file cabinets of a setup file, cut out by the sizes in its script.
cabinets() {
  local setup=$1 out=$2
  python3 "$source_dir/tests/e2e/lib/payload.py" split "$setup" "$out/parts"
  cabextract -q -d "$out/script" "$out/parts/setup.cab" setup.ini >/dev/null 2>&1 ||
    cabextract -q -d "$out/script" "$out/parts/setup.cab" >/dev/null
  python3 - "$out" <<'PY'
import os, sys, configparser
out = sys.argv[1]
text = open(os.path.join(out, "script", "setup.ini"), newline="").read()
sizes = []
section = None
for line in text.splitlines():
    if line.startswith("["): section = line.strip("[] \r"); continue
    if section == "Files" and "=" in line:
        sizes.append(int(line.split("=", 1)[1].split("?")[1]))
rest = open(os.path.join(out, "parts", "rest"), "rb").read()
os.makedirs(os.path.join(out, "cabs"))
at = 0
for i, size in enumerate(sizes):
    open(os.path.join(out, "cabs", "%05d.cab" % i), "wb").write(rest[at:at + size])
    at += size
PY
}

seconds() { python3 -c 'import sys,time; print("%.2f" % (float(sys.argv[2]) - float(sys.argv[1])))' "$@"; }
now() { date +%s.%N; }

report() {  # report CASE PLATFORM INSTALL CABEXTRACT
  python3 -c 'import sys; c,p,a,b=sys.argv[1:]; print("%-9s %-6s install %7.2f s   cabextract %7.2f s   ratio %5.2f" % (c,p,float(a),float(b),float(a)/float(b)))' "$@"
}

for name in "${cases[@]}"; do
  case $name in
    large) count=1000 bytes=204800 registry=0 ;;
    small) count=10000 bytes=2048 registry=0 ;;
    registry) count=10 bytes=2048 registry=100 ;;
    *) echo "unknown case $name" >&2; exit 2 ;;
  esac
  dir=$work/$name
  product "$dir/product" "$count" "$bytes" "$registry"
  "$pack" --stub "$build/setup-host" --out "$dir/setup" "$dir/product" >/dev/null
  cabinets "$dir/setup" "$dir"
  start=$(now)
  cabextract -q -d "$dir/cabextract" "$dir"/cabs/*.cab
  cab_time=$(seconds "$start" "$(now)")

  start=$(now)
  SETUP_HOST_SANDBOX=$dir/sandbox "$dir/setup" /s
  report "$name" host "$(seconds "$start" "$(now)")" "$cab_time"
  rm -rf "$dir/sandbox"

  if [ "$wine_too" = 1 ]; then
    export WINEPREFIX=$work/prefix WINEDEBUG=-all WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree=d;mshtml=d"
    [ -d "$WINEPREFIX" ] || { wineboot -i >/dev/null 2>&1; wineserver -w; }
    "$pack" --pad --stub "${SETUP_EXE:-$build/windows/setup.exe}" --out "$dir/setup.exe" "$dir/product" >/dev/null
    start=$(now)
    wine "$dir/setup.exe" /s
    wineserver -w
    report "$name" wine "$(seconds "$start" "$(now)")" "$cab_time"
    rm -rf "$WINEPREFIX/drive_c/Program Files (x86)/Bench"
  fi
  rm -rf "$dir"
done
