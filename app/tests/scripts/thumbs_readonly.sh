#!/bin/bash
# A folder that cannot be written, browsed by a thumbnail list: its picture is shown and
# nothing is written there.
# Root ignores permission bits, so the folder is made unwritable with the immutable attribute
# where the file system and the container allow it; otherwise the test runs without the
# capability that overrides permissions, in a copy of the Wine prefix (and so with a Wine
# server of its own, started without it too), and the folder loses its write bits.  A folder
# still writable under the chosen way fails the test: it could not see what it checks.
set -euo pipefail
: "${SL_BINARY_DIR:?}"
tmp=$(mktemp -d "$SL_BINARY_DIR/testdata/thumbs_readonly.XXXXXX")
own=""
cleanup() {
  chattr -i "$tmp" 2>/dev/null || true
  chmod u+w "$tmp" 2>/dev/null || true
  rm -rf "$tmp"
  if [ -n "$own" ]; then
    WINEPREFIX="$own/wine" wineserver -k 2>/dev/null || true
    rm -rf "$own"
  fi
}
trap cleanup EXIT
/usr/bin/convert -size 40x30 xc:'#C86432' "$tmp/cake.png"
before=$(ls -A "$tmp")
runner=()
if [ "$(id -u)" -eq 0 ] && chattr +i "$tmp" 2>/dev/null; then
  echo "the folder is immutable"
elif [ "$(id -u)" -eq 0 ]; then
  chmod a-w "$tmp"
  own=$(mktemp -d)
  cp -a "$SL_BINARY_DIR/wine" "$own/wine"
  sed "s|$SL_BINARY_DIR/wine\"|$own/wine\"|" "$SL_BINARY_DIR/wine-run" >"$own/wine-run"
  chmod +x "$own/wine-run"
  grep -q "$own/wine" "$own/wine-run" || { echo "no wine-run of the copied prefix"; exit 1; }
  runner=(setpriv --bounding-set=-dac_override,-dac_read_search --inh-caps=-dac_override,-dac_read_search)
  echo "the folder has no write bits; the test runs without overriding them"
else
  chmod a-w "$tmp"
  echo "the folder has no write bits"
fi
if "${runner[@]}" touch "$tmp/probe" 2>/dev/null; then
  echo "FAIL: the folder can still be written, so the test cannot see what it checks"
  exit 1
fi
if [ -n "$own" ]; then
  # The copied prefix's wine-run, so that its Wine server starts without the capability too.
  wine_run="$own/wine-run"
else
  wine_run="$SL_BINARY_DIR/wine-run"
fi
log=$(mktemp)
rc=0
name=ThumbFolder.WithoutAUsableCacheThumbnailsShowAndNothingIsWritten
SL_THUMBS_READONLY_DIR=$("$SL_BINARY_DIR/bin/winepath" -w "$tmp" 2>/dev/null) \
  "${runner[@]}" "$wine_run" "$SL_BINARY_DIR/app_tests.exe" --gtest_color=no \
  --gtest_filter="$name" >"$log" 2>&1 || rc=$?
if [ "$rc" -ne 0 ] || ! grep -qF "[       OK ] $name (" "$log"; then
  cat "$log"
  rm -f "$log"
  echo "FAIL: the test $name did not run and pass (exit code $rc)"
  exit 1
fi
rm -f "$log"
[ "$(ls -A "$tmp")" = "$before" ] || { echo "files written into the folder:"; ls -la "$tmp"; exit 1; }
echo "unwritable folder browsed, nothing written"
