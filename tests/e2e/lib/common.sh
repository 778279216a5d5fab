# Shared helpers of the process tests: checks that print one line each, and a scratch folder
# removed on exit.
set -euo pipefail

E2E_LIB=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
WORK=$(mktemp -d "${TMPDIR:-/tmp}/setup-e2e.XXXXXX")
failures=0
cleanup_hooks=()
run_cleanup() {
  for hook in "${cleanup_hooks[@]}"; do eval "$hook" || true; done
  rm -rf "$WORK"
}
trap run_cleanup EXIT

pass() { echo "PASS: $*"; }
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
check() {  # check DESCRIPTION COMMAND...
  local description=$1; shift
  if "$@"; then pass "$description"; else fail "$description"; fi
}
finish() {
  if [ "$failures" -ne 0 ]; then
    echo "$failures check(s) failed"
    exit 1
  fi
  echo "all checks passed"
}

# big_product DIR: the example product plus an incompressible 300 KB file, so that even a
# setup file on a small stub is longer than the default payload offset.
big_product() {
  local dir=$1
  cp -r "$SETUP_SOURCE/examples" "$dir"
  head -c 300000 /dev/urandom > "$dir/files/big.bin"
  python3 - "$dir/setup.ini" <<'PY'
import sys
path = sys.argv[1]
lines = open(path, newline="").read().split("\n")
at = lines.index(next(l for l in lines if l.strip() == "[Files]")) + 1
while at < len(lines) and lines[at].strip() and not lines[at].startswith("["):
    at += 1
count = sum(1 for l in lines if l[:1].isdigit() and "?" in l and "*?" not in l)
lines.insert(at, "%d=<InstallDir>\\big.bin?files\\big.bin?Overwrite?Yes\r" % count)
open(path, "w", newline="").write("\n".join(lines))
PY
}

# set_keys SETUP.INI KEY=VALUE...: changes [Setup] keys of a script in place (each must exist).
set_keys() {
  python3 - "$@" <<'PY'
import sys
path, changes = sys.argv[1], dict(a.split("=", 1) for a in sys.argv[2:])
lines = open(path, newline="").read().split("\n")
for i, line in enumerate(lines):
    key = line.split("=", 1)[0]
    if key in changes:
        lines[i] = key + "=" + changes.pop(key) + "\r"
assert not changes, changes
open(path, "w", newline="").write("\n".join(lines))
PY
}
