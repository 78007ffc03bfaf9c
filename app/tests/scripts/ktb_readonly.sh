#!/bin/bash
# Saving a design into a folder that cannot be written: the save fails at once with the
# message key "IDS_STRING343", leaves the document as it was and leaves nothing behind.
# How the folder is made unwritable (and why a still-writable one fails): make_unwritable.
set -euo pipefail
: "${SL_BINARY_DIR:?}"
. "$(dirname "$0")/../../../testsupport/test_lib.sh"
tmp=$(mktemp -d "$SL_BINARY_DIR/testdata/ktb_readonly.XXXXXX")
cleanup() { unwritable_cleanup; rm -rf "$tmp"; }
trap cleanup EXIT
make_unwritable "$tmp"
SL_KTB_READONLY_DIR=$("$SL_BINARY_DIR/bin/winepath" -w "$tmp" 2>/dev/null) \
  run_one_unwritable "$SL_BINARY_DIR/model_tests.exe" KtbDocument.FailedSavesLeaveThePreviousFileAndTheDocument
[ -z "$(ls -A "$tmp")" ] || { echo "files left in the folder:"; ls -la "$tmp"; exit 1; }
echo "save into an unwritable folder refused"
