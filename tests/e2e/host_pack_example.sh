#!/usr/bin/env bash
# Packs the example product onto a dummy stub with setup-pack, then takes the setup file apart
# at the documented offsets (trailer, size field, setup cabinet, per-file cabinets) and checks
# every cabinet with cabextract, an independent reader. Also checks padding, the refusals of
# bad input (no output file left behind) and the `cab` subcommand.
#
# Environment: SETUP_PACK (the setup-pack program), SETUP_SOURCE (the repository root).
set -euo pipefail

: "${SETUP_PACK:?SETUP_PACK must name the setup-pack program}"
: "${SETUP_SOURCE:?SETUP_SOURCE must name the repository root}"
command -v cabextract >/dev/null || { echo "FAIL: cabextract is not installed"; exit 1; }

EXAMPLE="$SETUP_SOURCE/examples"
WORK="$(mktemp -d)"
trap 'rm -rf "$WORK"' EXIT

failures=0
pass() { echo "PASS: $*"; }
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
check() {
  local what="$1"
  shift
  if "$@"; then pass "$what"; else fail "$what"; fi
}

size_of() { stat -c %s "$1"; }
# cut_bytes FILE OFFSET COUNT OUT
cut_bytes() { dd if="$1" of="$4" iflag=skip_bytes,count_bytes skip="$2" count="$3" status=none; }
# read_bytes FILE OFFSET COUNT: the bytes on stdout
read_bytes() { dd if="$1" iflag=skip_bytes,count_bytes skip="$2" count="$3" status=none; }
is_field() { [[ "$1" =~ ^[0-9]{10}$ ]]; }
cab_ok() { cabextract -q -t "$1" >/dev/null 2>&1; }
pack() { "$SETUP_PACK" "$@" >/dev/null 2>"$WORK/pack.stderr"; }

# [Files] entries of a setup script as "key<TAB>value" lines, in file order.
files_entries() {
  tr -d '\r' <"$1" | awk '
    /^[ \t]*\[/ { s = tolower($0); infiles = (s ~ /^[ \t]*\[files\]/); next }
    infiles && /=/ && !/^[ \t]*;/ {
      i = index($0, "=")
      key = substr($0, 1, i - 1); gsub(/^[ \t]+|[ \t]+$/, "", key)
      print key "\t" substr($0, i + 1)
    }'
}
setup_value() { tr -d '\r' <"$1" | sed -n "s/^$2=//p" | sed -n 1p; }
# The script with FilesCount and every second "?" field blanked, for comparing the rest.
normalized() {
  sed -E -e 's/^FilesCount=.*/FilesCount=_/' -e '/^FilesSize=/d' -e 's/^([^=]*=[^?]*)\?[^?]*/\1?_/' "$1"
}
# Names listed by cabextract -l, one a line, sorted.
cab_names() { cabextract -l "$1" | awk -F' [|] ' 'NF == 3 && $1 ~ /[0-9]/ { print $3 }' | sort; }

# --- the unpadded setup file ---------------------------------------------------------------

# A stub longer than the default payload offset is not padded: the payload follows it.
STUB="$WORK/stub"
head -c 260000 < <(yes 'dummy stub program') >"$STUB"
chmod +x "$STUB"
STUB_SIZE=$(size_of "$STUB")
OUT="$WORK/out/setup.run"
mkdir -p "$WORK/out"

check "setup-pack packs the example" pack --stub "$STUB" --out "$OUT" "$EXAMPLE"
check "... without a warning" test ! -s "$WORK/pack.stderr"
check "the setup file is executable like its stub" test -x "$OUT"
check "the setup file starts with the stub" cmp -s -n "$STUB_SIZE" "$STUB" "$OUT"

N=$(size_of "$OUT")
TRAILER=$(read_bytes "$OUT" $((N - 10)) 10)
check "the trailer is ten digits ($TRAILER)" is_field "$TRAILER"
P=$((10#$TRAILER))
check "the trailer names the stub's end as payload start ($P)" test "$P" -eq "$STUB_SIZE"
SIZE_FIELD=$(read_bytes "$OUT" "$P" 10)
check "the size field is ten digits ($SIZE_FIELD)" is_field "$SIZE_FIELD"
L=$((10#$SIZE_FIELD))

cut_bytes "$OUT" $((P + 10)) "$L" "$WORK/setup.cab"
check "the setup cabinet is a valid cabinet" cab_ok "$WORK/setup.cab"
EXPECTED_NAMES=$(printf '%s\n' setup.ini English.lng German.lng vqwizard.bmp vqheader.bmp \
  LEnglish.rtf REnglish.rtf LGerman.rtf RGerman.rtf | sort)
check "the setup cabinet holds exactly the script, languages, pictures and texts" \
  test "$(cab_names "$WORK/setup.cab")" = "$EXPECTED_NAMES"

mkdir -p "$WORK/setup"
cabextract -q -d "$WORK/setup" "$WORK/setup.cab"
for name in English.lng German.lng vqwizard.bmp vqheader.bmp LEnglish.rtf REnglish.rtf \
  LGerman.rtf RGerman.rtf; do
  check "$name in the setup cabinet equals the product's" \
    cmp -s "$EXAMPLE/$name" "$WORK/setup/$name"
done

SCRIPT="$WORK/setup/setup.ini"
mapfile -t SOURCE_ENTRIES < <(files_entries "$EXAMPLE/setup.ini")
mapfile -t PACKED_ENTRIES < <(files_entries "$SCRIPT")
COUNT=${#SOURCE_ENTRIES[@]}
check "the example has [Files] entries ($COUNT)" test "$COUNT" -gt 0
check "FilesCount is the number of [Files] entries" \
  test "$(setup_value "$SCRIPT" FilesCount)" = "$COUNT"
check "the packed [Files] has as many entries" test "${#PACKED_ENTRIES[@]}" -eq "$COUNT"
check "the rest of setup.ini is kept byte for byte" \
  cmp -s <(normalized "$EXAMPLE/setup.ini") <(normalized "$SCRIPT")
FILES_TOTAL=$(find "$EXAMPLE/files" -type f -printf '%s\n' | awk '{ s += $1 } END { print s }')
check "FilesSize, left out by the example, is filled in as the files' total ($FILES_TOTAL)" \
  test "$(setup_value "$SCRIPT" FilesSize)" = "$FILES_TOTAL"

# --- the per-file cabinets, one after the other --------------------------------------------

OFFSET=$((P + 10 + L))
for ((i = 0; i < COUNT; i++)); do
  IFS=$'\t' read -r _ source_value <<<"${SOURCE_ENTRIES[i]}"
  IFS=$'\t' read -r key packed_value <<<"${PACKED_ENTRIES[i]}"
  IFS='?' read -r destination source _ <<<"$source_value"
  IFS='?' read -r packed_destination stored_size packed_rest <<<"$packed_value"
  IFS='?' read -r _ _ source_rest <<<"$source_value"
  name="${destination##*\\}"
  source="${source//\\//}"

  check "entry $i has key \"$i\"" test "$key" = "$i"
  check "entry $i keeps destination, exist mode and removal flag" \
    test "$packed_destination?$packed_rest" = "$destination?$source_rest"
  if ! [[ "$stored_size" =~ ^[0-9]+$ ]]; then
    fail "entry $i: stored size \"$stored_size\" is not a number"
    continue
  fi
  cut_bytes "$OUT" "$OFFSET" "$stored_size" "$WORK/file$i.cab"
  check "entry $i: the cabinet at $OFFSET is $stored_size bytes and valid" \
    cab_ok "$WORK/file$i.cab"
  check "entry $i: the cabinet holds exactly $name" \
    test "$(cab_names "$WORK/file$i.cab")" = "$name"
  mkdir -p "$WORK/file$i"
  cabextract -q -d "$WORK/file$i" "$WORK/file$i.cab" || true
  check "entry $i: $name equals $source" cmp -s "$EXAMPLE/$source" "$WORK/file$i/$name"
  OFFSET=$((OFFSET + stored_size))
done
check "the per-file cabinets end at the trailer" test "$OFFSET" -eq $((N - 10))

# --- padding -------------------------------------------------------------------------------

SMALL_STUB="$WORK/small-stub"
head -c 3000 < <(yes 'dummy stub program') >"$SMALL_STUB"
PADDED="$WORK/out/padded.run"
check "setup-pack pads a short stub by default" \
  pack --stub "$SMALL_STUB" --out "$PADDED" "$EXAMPLE"
check "... and says so in its summary" grep -q 'payload at 250880 (padded)' <("$SETUP_PACK" \
  --stub "$SMALL_STUB" --out "$WORK/out/again.run" "$EXAMPLE")
check "--pad still works" cmp -s "$PADDED" <("$SETUP_PACK" --pad --stub "$SMALL_STUB" \
  --out "$WORK/out/pad.run" "$EXAMPLE" >/dev/null && cat "$WORK/out/pad.run")
rm -f "$WORK/out/again.run" "$WORK/out/pad.run"
PN=$(size_of "$PADDED")
check "the padded trailer is 0000250880" test "$(read_bytes "$PADDED" $((PN - 10)) 10)" = 0000250880
check "the padding is zero bytes" \
  cmp -s <(read_bytes "$PADDED" 3000 $((250880 - 3000))) <(head -c $((250880 - 3000)) /dev/zero)
check "the padded payload equals the unpadded one" \
  cmp -s <(read_bytes "$PADDED" 250880 $((PN - 250890))) <(read_bytes "$OUT" "$P" $((N - P - 10)))

check "--no-pad refuses a setup file too short to be found" \
  bash -c '! "$0" --no-pad --stub "$1" --out "$2" "$3" 2>"$4"' \
  "$SETUP_PACK" "$SMALL_STUB" "$WORK/out/short.run" "$EXAMPLE" "$WORK/stderr"
check "... saying why" grep -q "out/short.run: the setup file would be only" "$WORK/stderr"
check "... and writes nothing" test ! -e "$WORK/out/short.run"

head -c 250881 /dev/zero >"$WORK/long-stub"
check "--pad refuses a stub longer than 250880 bytes" \
  bash -c '! "$0" --pad --stub "$1" --out "$2" "$3" 2>/dev/null' \
  "$SETUP_PACK" "$WORK/long-stub" "$WORK/out/long.run" "$EXAMPLE"
check "... and writes nothing" test ! -e "$WORK/out/long.run"

# --- mistakes: warnings with file and line, --strict, --version -----------------------------

MISTAKES="$WORK/mistakes"
cp -r "$EXAMPLE" "$MISTAKES"
KEY_LINE=$(grep -n '^DialogWelcome=' "$MISTAKES/setup.ini" | cut -d: -f1)
sed -i -e 's/^DialogWelcome=/DialogWelcom=/' -e 's/^\[Others\]/[Other]/' "$MISTAKES/setup.ini"
SECTION_LINE=$(grep -n '^\[Other\]' "$MISTAKES/setup.ini" | cut -d: -f1)
check "a script with mistakes still packs" \
  pack --stub "$SMALL_STUB" --out "$WORK/out/mistakes.run" "$MISTAKES"
check "misspelt key: warning with file and line" grep -qF \
  "setup-pack: warning: $MISTAKES/setup.ini line $KEY_LINE: unknown [Setup] key DialogWelcom: did you mean DialogWelcome?" \
  "$WORK/pack.stderr"
check "misspelt section: warning with file and line" grep -qF \
  "$MISTAKES/setup.ini line $SECTION_LINE: unknown section [Other]: did you mean [Others]?" \
  "$WORK/pack.stderr"
rm -f "$WORK/out/mistakes.run"
check "--strict refuses it" \
  bash -c '! "$0" --strict --stub "$1" --out "$2" "$3" 2>"$4"' \
  "$SETUP_PACK" "$SMALL_STUB" "$WORK/out/strict.run" "$MISTAKES" "$WORK/stderr"
check "... naming both mistakes as errors" \
  test "$(grep -c "^setup-pack: error: $MISTAKES/setup.ini line" "$WORK/stderr")" -eq 2
check "... and writes nothing" test ! -e "$WORK/out/strict.run"
check "--version" bash -c '"$0" --version | grep -q "^setup-pack [0-9]*\.[0-9]*\.[0-9]*$"' "$SETUP_PACK"

# --- bad products are refused without output -----------------------------------------------

# expect_refusal WHAT PRODUCT TEXT: packing fails, stderr holds TEXT, the output folder holds
# only what it held before.
expect_refusal() {
  local what="$1" product="$2" text="$3" before after
  before=$(ls -A "$WORK/out")
  if "$SETUP_PACK" --stub "$STUB" --out "$WORK/out/bad.run" "$product" 2>"$WORK/stderr"; then
    fail "$what: packed anyway"
    return
  fi
  after=$(ls -A "$WORK/out")
  check "$what: reported ($(head -n 1 "$WORK/stderr"))" grep -qF -- "$text" "$WORK/stderr"
  check "$what: no output left behind" test "$before" = "$after"
}

BAD="$WORK/bad"
fresh_copy() { rm -rf "$BAD" && cp -r "$EXAMPLE" "$BAD"; }

fresh_copy && rm "$BAD/vqheader.bmp"
expect_refusal "missing header picture" "$BAD" "vqheader.bmp: missing"
fresh_copy && rm "$BAD/setup.ini"
expect_refusal "missing setup.ini" "$BAD" "setup.ini: missing"
fresh_copy && rm "$BAD"/*.lng
expect_refusal "no language file" "$BAD" "no language file"
fresh_copy && rm "$BAD/files/docs/manual.txt"
LINE=$(awk '/^[0-9]+=.*manual\.txt/ { print NR; exit }' "$BAD/setup.ini")
expect_refusal "missing source file" "$BAD" "setup.ini line $LINE: source file"
fresh_copy && sed -i 's/^1=<InstallDir>\\readme.txt?.*$/1=<InstallDir>\\readme.txt\r/' \
  "$BAD/setup.ini"
LINE=$(awk '/^1=<InstallDir>/ { print NR; exit }' "$BAD/setup.ini")
expect_refusal "[Files] entry of one field" "$BAD" "setup.ini line $LINE: [Files] entry \"1\""

# --- the cab subcommand --------------------------------------------------------------------

head -c 200000 /dev/urandom >"$WORK/random.bin"
check "setup-pack cab writes a cabinet" \
  pack cab --out "$WORK/two.cab" "$EXAMPLE/files/readme.txt" \
  --as 'docs\manual.txt' "$EXAMPLE/files/docs/manual.txt"
# cabextract shows the stored backslash as a slash.
check "it holds both files under their names" \
  test "$(cab_names "$WORK/two.cab")" = "$(printf '%s\n' docs/manual.txt readme.txt | sort)"
check "setup-pack cab --split writes a cabinet set" \
  pack cab --stored --split 70000 --out "$WORK/set.cab" "$WORK/random.bin"
check "the set has more than one cabinet" test -e "$WORK/set2.cab" -a -e "$WORK/set3.cab"
mkdir -p "$WORK/set"
cabextract -q -d "$WORK/set" "$WORK/set.cab" || true
check "a file spanning the set comes back whole" cmp -s "$WORK/random.bin" "$WORK/set/random.bin"

echo
if ((failures > 0)); then
  echo "host_pack_example: $failures check(s) failed"
  exit 1
fi
echo "host_pack_example: all checks passed"
