#!/bin/bash
# The settings file with the single key "root" = C:\X, as the store writes it, read by an
# independent reader of compound files (python olefile): one stream "Data" of 32 bytes.
set -euo pipefail
: "${SL_BINARY_DIR:?}"
. "$(dirname "$0")/../../../testsupport/test_lib.sh"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
copy=$("$SL_BINARY_DIR/bin/winepath" -w "$tmp/ziviz.dat" 2>/dev/null)
SL_SETTINGS_COPY="$copy" run_one_test "$SL_BINARY_DIR/base_tests.exe" KeyStoreFile.SingleRootKeyIsByteExact
/usr/bin/python3 - "$tmp/ziviz.dat" <<'PY'
import struct, sys, olefile
ole = olefile.OleFileIO(sys.argv[1])
assert ole.listdir(streams=True, storages=True) == [["Data"]], ole.listdir()
data = ole.openstream("Data").read()
assert len(data) == 32, len(data)
vt, count = struct.unpack_from("<Hi", data, 0)
assert (vt, count) == (3, 1), (vt, count)
size, = struct.unpack_from("<I", data, 6)
text = data[10:10 + size]
assert size == 22 and text.endswith(b"\0\0"), size
assert text[:-2].decode("utf-16-le") == "root==C:\\X", text
print("settings file read by olefile:", text[:-2].decode("utf-16-le"))
PY
