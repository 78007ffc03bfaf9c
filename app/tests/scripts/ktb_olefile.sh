#!/bin/bash
# A new empty design as the writer saves it, read by an independent reader of compound
# files (python olefile): one stream "CakeData" of the size the records add up to, holding
# CAKEDATA3=1, "10.15", 1, the layout line, 0, IMAGE=0, TEXT=0, FRAME=1, one entry, END=0.
set -euo pipefail
: "${SL_BINARY_DIR:?}"
. "$(dirname "$0")/../../../testsupport/test_lib.sh"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
copy=$("$SL_BINARY_DIR/bin/winepath" -w "$tmp/empty.ktb" 2>/dev/null)
SL_KTB_COPY="$copy" run_one_test "$SL_BINARY_DIR/model_tests.exe" KtbWrite.NewEmptyDesignRecordByRecord
/usr/bin/python3 - "$tmp/empty.ktb" "$(cat "$tmp/empty.ktb.size")" <<'PY'
import struct, sys, olefile
ole = olefile.OleFileIO(sys.argv[1])
assert ole.listdir(streams=True, storages=True) == [["CakeData"]], ole.listdir()
data = ole.openstream("CakeData").read()
assert len(data) == int(sys.argv[2]), (len(data), sys.argv[2])
pos = 0
def bstr():
    global pos
    n, = struct.unpack_from("<I", data, pos)
    text = data[pos + 4:pos + 4 + n]
    assert text.endswith(b"\0\0"), text
    pos += 4 + n
    return text[:-2].decode("utf-16-le")
def variant():
    global pos
    vt, = struct.unpack_from("<H", data, pos)
    pos += 2
    if vt == 8:
        return bstr()
    size = {3: 4, 4: 4, 11: 2}[vt]
    fmt = {3: "<i", 4: "<f", 11: "<h"}[vt]
    value, = struct.unpack_from(fmt, data, pos)
    pos += size
    return value
assert bstr() == "CAKEDATA3=1"
assert variant() == "10.15"
assert variant() == 1
line = variant()
assert line.split(",")[0] == "2" and len(line.split(",")) == 30, line
assert variant() == 0
assert [bstr(), bstr(), bstr()] == ["IMAGE=0", "TEXT=0", "FRAME=1"]
entry = [variant() for _ in range(38)]
assert entry[0] == 0 and entry[1] == 0xFFFFFF and entry[13] == 0, entry
assert bstr() == "END=0"
assert pos == len(data)
print("empty design read by olefile:", len(data), "bytes of CakeData")
PY
