#!/bin/bash
# The thumbnail cache as an independent reader sees it (python olefile, ImageMagick's
# identify).  A folder of every kind of file browsed as images: "thumbs.pst" holds exactly
# big.png, big.png.dat, small.bmp and small.bmp.dat (the 28-character name and "wow!.png"
# are shown uncached); each image is a JPEG of 125 pixels on its longer side; each stamp is
# the 40-byte record of the file's local last-write time.  Then hostile caches, each
# browsed by the list: every one is a compound file olefile reads afterwards, with a fresh
# entry for big.png.
set -euo pipefail
: "${SL_BINARY_DIR:?}"
. "$(dirname "$0")/../../../testsupport/test_lib.sh"
tmp=$(mktemp -d "$SL_BINARY_DIR/testdata/thumbs_olefile.XXXXXX")
trap 'rm -rf "$tmp"' EXIT
mkdir "$tmp/images" "$tmp/hostile"
winpath() { "$SL_BINARY_DIR/bin/winepath" -w "$1" 2>/dev/null; }

SL_THUMBS_DIR=$(winpath "$tmp/images") \
  run_one_test "$SL_BINARY_DIR/app_tests.exe" ThumbFolder.ImagesOfAFolderAreCachedByName
/usr/bin/python3 - "$tmp/images" <<'PY'
import os, struct, subprocess, sys, tempfile, time, olefile
folder = sys.argv[1]
cache = os.path.join(folder, "thumbs.pst")
assert olefile.isOleFile(cache), "thumbs.pst is no compound file"
ole = olefile.OleFileIO(cache)
names = sorted("/".join(e) for e in ole.listdir(streams=True, storages=True))
assert names == ["big.png", "big.png.dat", "small.bmp", "small.bmp.dat"], names
for name in ("big.png", "small.bmp"):
    jpeg = ole.openstream(name).read()
    with tempfile.NamedTemporaryFile(suffix=".jpg") as f:
        f.write(jpeg)
        f.flush()
        kind, w, h = subprocess.check_output(["/usr/bin/identify", "-format", "%m %w %h", f.name]).decode().split()
    assert kind == "JPEG" and max(int(w), int(h)) == 125, (name, kind, w, h)
    stamp = ole.openstream(name + ".dat").read()
    length, = struct.unpack_from("<I", stamp)
    assert len(stamp) == 40 and length == 36, (name, len(stamp), length)
    assert stamp[-2:] == b"\0\0", stamp
    text = stamp[4:-2].decode("utf-16-le")
    want = time.strftime("%y:%m:%d:%H:%M:%S", time.localtime(os.stat(os.path.join(folder, name)).st_mtime))
    assert text == want, (name, text, want)
    print(f"{name}: JPEG {w} x {h}, stamp {text}")
PY

SL_THUMBS_HOSTILE_DIR=$(winpath "$tmp/hostile") \
  run_one_test "$SL_BINARY_DIR/app_tests.exe" ThumbFolder.HostileCachesAndDesignsAreShownInBoundedTime
/usr/bin/python3 - "$tmp/hostile" <<'PY'
import os, sys, olefile
root = sys.argv[1]
cases = sorted(d for d in os.listdir(root) if d != "designs")
assert len(cases) == 7, cases
for case in cases:
    cache = os.path.join(root, case, "thumbs.pst")
    assert olefile.isOleFile(cache), case
    ole = olefile.OleFileIO(cache)
    names = sorted("/".join(e) for e in ole.listdir(streams=True, storages=True))
    assert "big.png" in names and "big.png.dat" in names, (case, names)
    assert len(ole.openstream("big.png.dat").read()) == 40, case
    print(f"{case}: readable, {names}")
PY
echo "thumbnail caches read by olefile"
