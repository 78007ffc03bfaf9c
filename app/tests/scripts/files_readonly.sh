#!/bin/bash
# The dialog "Files" saving into a folder that cannot be written: the message
# "IDS_STRING343" within seconds, the design's title, path and changes kept, the dialog open
# until Cancel, and nothing left in the folder.  How the folder is made unwritable:
# make_unwritable.
set -euo pipefail
: "${SL_BINARY_DIR:?}"
. "$(dirname "$0")/../../../testsupport/test_lib.sh"
tmp=$(mktemp -d "$SL_BINARY_DIR/testdata/files_readonly.XXXXXX")
cleanup() { unwritable_cleanup; rm -rf "$tmp"; }
trap cleanup EXIT
make_unwritable "$tmp"
SL_FILES_READONLY_DIR=$("$SL_BINARY_DIR/bin/winepath" -w "$tmp" 2>/dev/null) \
  run_one_unwritable "$SL_BINARY_DIR/app_tests.exe" FilesDialog.FailedSaveShowsTheMessageAndKeepsDesignAndDialog
[ -z "$(ls -A "$tmp")" ] || { echo "files left in the folder:"; ls -la "$tmp"; exit 1; }
echo "save into an unwritable folder refused, the dialog and the design kept"
