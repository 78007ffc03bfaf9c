#!/bin/bash
# Saving a design into a folder that cannot be written: the save fails at once with the
# message key "IDS_STRING343", leaves the document as it was and leaves nothing behind.  The
# folder is made unwritable with the immutable attribute (root ignores permission bits); where
# that attribute cannot be set the test is skipped.
set -euo pipefail
: "${SL_BINARY_DIR:?}"
. "$(dirname "$0")/../../../testsupport/test_lib.sh"
tmp=$(mktemp -d "$SL_BINARY_DIR/testdata/ktb_readonly.XXXXXX")
cleanup() { chattr -i "$tmp" 2>/dev/null || true; rm -rf "$tmp"; }
trap cleanup EXIT
if ! chattr +i "$tmp" 2>/dev/null; then
  echo "the folder cannot be made immutable here: skipped"
  exit 77
fi
if touch "$tmp/probe" 2>/dev/null; then
  echo "the immutable folder can still be written: skipped"
  exit 77
fi
dir=$("$SL_BINARY_DIR/bin/winepath" -w "$tmp" 2>/dev/null)
SL_KTB_READONLY_DIR="$dir" run_one_test "$SL_BINARY_DIR/model_tests.exe" \
  KtbDocument.FailedSavesLeaveThePreviousFileAndTheDocument
[ -z "$(ls -A "$tmp")" ] || { echo "files left in the folder:"; ls -la "$tmp"; exit 1; }
echo "save into an unwritable folder refused"
