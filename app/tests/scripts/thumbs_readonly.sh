#!/bin/bash
# A folder that cannot be written, browsed by a thumbnail list: its picture is shown and
# nothing is written there.  How the folder is made unwritable (and why a still-writable one
# fails): make_unwritable.
set -euo pipefail
: "${SL_BINARY_DIR:?}"
. "$(dirname "$0")/../../../testsupport/test_lib.sh"
tmp=$(mktemp -d "$SL_BINARY_DIR/testdata/thumbs_readonly.XXXXXX")
cleanup() { unwritable_cleanup; rm -rf "$tmp"; }
trap cleanup EXIT
/usr/bin/convert -size 40x30 xc:'#C86432' "$tmp/cake.png"
before=$(ls -A "$tmp")
make_unwritable "$tmp"
SL_THUMBS_READONLY_DIR=$("$SL_BINARY_DIR/bin/winepath" -w "$tmp" 2>/dev/null) \
  run_one_unwritable "$SL_BINARY_DIR/app_tests.exe" ThumbFolder.WithoutAUsableCacheThumbnailsShowAndNothingIsWritten
[ "$(ls -A "$tmp")" = "$before" ] || { echo "files written into the folder:"; ls -la "$tmp"; exit 1; }
echo "unwritable folder browsed, nothing written"
