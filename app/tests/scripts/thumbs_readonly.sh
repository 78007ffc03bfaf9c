#!/bin/bash
# A folder that cannot be written, browsed by a thumbnail list: its picture is shown and
# nothing is written there.  The folder is made unwritable with the immutable attribute
# (root ignores permission bits); where that attribute cannot be set the test is skipped.
set -euo pipefail
: "${SL_BINARY_DIR:?}"
. "$(dirname "$0")/../../../testsupport/test_lib.sh"
tmp=$(mktemp -d "$SL_BINARY_DIR/testdata/thumbs_readonly.XXXXXX")
cleanup() { chattr -i "$tmp" 2>/dev/null || true; rm -rf "$tmp"; }
trap cleanup EXIT
/usr/bin/convert -size 40x30 xc:'#C86432' "$tmp/cake.png"
before=$(ls -A "$tmp")
if ! chattr +i "$tmp" 2>/dev/null; then
  echo "the folder cannot be made immutable here: skipped"
  exit 77
fi
if touch "$tmp/probe" 2>/dev/null; then
  echo "the immutable folder can still be written: skipped"
  exit 77
fi
SL_THUMBS_READONLY_DIR=$("$SL_BINARY_DIR/bin/winepath" -w "$tmp" 2>/dev/null) \
  run_one_test "$SL_BINARY_DIR/app_tests.exe" ThumbFolder.WithoutAUsableCacheThumbnailsShowAndNothingIsWritten
[ "$(ls -A "$tmp")" = "$before" ] || { echo "files written into the folder:"; ls -la "$tmp"; exit 1; }
echo "unwritable folder browsed, nothing written"
