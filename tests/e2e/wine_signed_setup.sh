#!/usr/bin/env bash
# A setup file signed after packing, as a vendor ships it: osslsigncode with a throw-away
# self-signed certificate appends the signature after the trailer. Padded (setup-pack's default
# for setup.exe) the setup program still finds its payload at the default offset: the signature
# verifies and the file installs. Unpadded, the trailer is no longer the file's end and the
# signed file reports itself as corrupted, which is why setup-pack pads and warns.
source "$(dirname "$0")/lib/wine.sh"
for tool in osslsigncode openssl; do
  command -v "$tool" > /dev/null || { fail "$tool is not installed"; finish; }
done
start_wine

openssl req -x509 -newkey rsa:2048 -nodes -days 30 -subj /CN=Test \
  -keyout "$WORK/key.pem" -out "$WORK/cert.pem" 2> /dev/null
sign() { osslsigncode sign -certs "$WORK/cert.pem" -key "$WORK/key.pem" -in "$1" -out "$2" > /dev/null; }
verify() { osslsigncode verify -CAfile "$WORK/cert.pem" -in "$1" > "$WORK/verify.txt" 2>&1; }

"$SETUP_PACK" --stub "$SETUP_EXE" --out "$WORK/setup.exe" "$SETUP_SOURCE/examples" > /dev/null
check "packed padded by default (trailer 0000250880)" \
  [ "$(tail -c 10 "$WORK/setup.exe")" = 0000250880 ]
check "signed" sign "$WORK/setup.exe" "$WORK/signed.exe"
check "the signature verifies" verify "$WORK/signed.exe"
check "the signature comes after the trailer" \
  [ "$(stat -c %s "$WORK/signed.exe")" -gt "$(stat -c %s "$WORK/setup.exe")" ]
check "the signed file starts with the whole unsigned one but its PE header" \
  cmp -s <(tail -c +1025 "$WORK/setup.exe") \
  <(head -c "$(stat -c %s "$WORK/setup.exe")" "$WORK/signed.exe" | tail -c +1025)
installs_example signed.exe signed

# Unpadded (long enough that the runtime falls back to the trailer): signing breaks it.
big_product "$WORK/big"
"$SETUP_PACK" --no-pad --stub "$SETUP_EXE" --out "$WORK/unpadded.exe" "$WORK/big" \
  > /dev/null 2> "$WORK/warnings.txt"
check "--no-pad: warned that a signed copy would not install" \
  grep -q 'not padded: .*signed copy' "$WORK/warnings.txt"
sign "$WORK/unpadded.exe" "$WORK/unpadded-signed.exe"
check "unpadded signed: the signature verifies" verify "$WORK/unpadded-signed.exe"
status=0
(cd "$WORK" && timeout 120 wine unpadded-signed.exe /s) &
pid=$!
check "unpadded signed: box 'Error' shown" answer_box Error Return 60
wait "$pid" || status=$?
wineserver -w
check "unpadded signed: exit code 4 (corrupted)" [ "$status" -eq 4 ]
check "unpadded signed: no temporary folder left" no_wine_temp_left
finish
