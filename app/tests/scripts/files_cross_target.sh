#!/bin/bash
# Files are the same on both targets.  Designs written by this build are compared stream by
# stream, byte for byte, with the committed ones (fixtures/, written by the 64-bit build), and
# this build reads the committed designs to the same frames, images and texts.  Where the
# other target's build is there and runs on this machine, each build reads the designs and
# the settings file that the other wrote.
set -euo pipefail
: "${SL_BINARY_DIR:?}" "${SL_SOURCE_DIR:?}"
B=$SL_BINARY_DIR
fixtures="$SL_SOURCE_DIR/app/tests/scripts/fixtures"
tmp=$(mktemp -d)
other_prefix=""
cleanup() {
  [ -n "$other_prefix" ] && WINEPREFIX="$other_prefix" wineserver -k 2>/dev/null || true
  rm -rf "$tmp"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

case "$(basename "$B")" in
  win32) this=32 other=64 ;;
  win64) this=64 other=32 ;;
  *) fail "$B is not a target's build folder (win32 or win64)" ;;
esac
O="$(dirname "$B")/win$other"

winpath() { "$1/bin/winepath" -w "$2" 2>/dev/null; }
design() {   # design <build> <command> <file>: its output without the console's CRs
  "$1/wine-run" "$1/tools/sl_design.exe" "$2" "$(winpath "$1" "$3")" | tr -d '\r'
}
# Every stream of two compound files alike, with the same names.
same_streams() {
  /usr/bin/python3 - "$1" "$2" <<'PY'
import sys, olefile
a, b = (olefile.OleFileIO(p) for p in sys.argv[1:3])
names = sorted(a.listdir(streams=True, storages=False))
assert names == sorted(b.listdir(streams=True, storages=False)), (names, b.listdir())
for n in names:
    x, y = a.openstream(n).read(), b.openstream(n).read()
    assert x == y, f"stream {'/'.join(n)} differs: {len(x)} and {len(y)} bytes"
print(len(names), "streams alike:", ", ".join("/".join(n) for n in names))
PY
}

# --- This build against the committed designs --------------------------------------------
for kind in empty rich; do
  design "$B" "write-$kind" "$tmp/$kind.ktb" || fail "the ${this}-bit build could not write the $kind design"
  same_streams "$tmp/$kind.ktb" "$fixtures/design-$kind.ktb" \
    || fail "the $kind design of the ${this}-bit build differs from the committed one"
  design "$B" describe "$fixtures/design-$kind.ktb" > "$tmp/$kind.txt" \
    || fail "the ${this}-bit build cannot read the committed $kind design"
  diff -u "$fixtures/design-$kind.txt" "$tmp/$kind.txt" \
    || fail "the ${this}-bit build reads the committed $kind design differently"
done

# --- Across the targets, where both run here ---------------------------------------------
read -r -a runnable < "$(dirname "$B")/targets" || runnable=()
if [[ " ${runnable[*]} " != *" $other "* ]]; then
  echo "the ${other}-bit target does not run on this machine: compared with the committed designs only"
  exit 0
fi
[ -x "$O/tools/sl_design.exe" ] && [ -x "$O/tools/sl_setting.exe" ] \
  || fail "the ${other}-bit build in $O has no tools: the test command builds every target first"
other_prefix="$O/wine"

for kind in empty rich; do
  design "$O" "write-$kind" "$tmp/$kind-other.ktb" || fail "the ${other}-bit build could not write the $kind design"
  same_streams "$tmp/$kind.ktb" "$tmp/$kind-other.ktb" || fail "the two targets write the $kind design differently"
  design "$B" describe "$tmp/$kind-other.ktb" > "$tmp/a.txt" || fail "${this}-bit cannot read the ${other}-bit design"
  design "$O" describe "$tmp/$kind.ktb" > "$tmp/b.txt" || fail "${other}-bit cannot read the ${this}-bit design"
  diff -u "$fixtures/design-$kind.txt" "$tmp/a.txt" || fail "${this}-bit reads the ${other}-bit $kind design differently"
  diff -u "$fixtures/design-$kind.txt" "$tmp/b.txt" || fail "${other}-bit reads the ${this}-bit $kind design differently"
done

# Settings: each target writes a value, the other reads it back.
mkdir -p "$tmp/s$this" "$tmp/s$other"
"$B/wine-run" "$B/tools/sl_setting.exe" "$(winpath "$B" "$tmp/s$this")" language "dutch-$this" \
  || fail "the ${this}-bit build could not write settings"
"$O/wine-run" "$O/tools/sl_setting.exe" "$(winpath "$O" "$tmp/s$other")" language "dutch-$other" \
  || fail "the ${other}-bit build could not write settings"
got=$("$O/wine-run" "$O/tools/sl_setting.exe" "$(winpath "$O" "$tmp/s$this")" language | tr -d '\r')
[ "$got" = "dutch-$this" ] || fail "the ${other}-bit build read '$got' from the ${this}-bit settings"
got=$("$B/wine-run" "$B/tools/sl_setting.exe" "$(winpath "$B" "$tmp/s$other")" language | tr -d '\r')
[ "$got" = "dutch-$other" ] || fail "the ${this}-bit build read '$got' from the ${other}-bit settings"
echo "designs and settings read alike by the 32- and 64-bit builds"
