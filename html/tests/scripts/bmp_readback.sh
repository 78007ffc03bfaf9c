#!/bin/bash
# The DIB buffer's BMP files read by an independent reader (ImageMagick): the 5 x 3 pattern
# at 1, 4, 8 and 24 bits per pixel, every pixel as the buffer was given it (rows padded,
# bottom-up, palettes of 2, 16 and 256 entries).
set -euo pipefail
: "${SL_BINARY_DIR:?}"
. "$(dirname "$0")/../../../testsupport/test_lib.sh"
command -v convert >/dev/null || { echo "bmp_readback: ImageMagick's convert is missing"; exit 1; }
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
folder=$("$SL_BINARY_DIR/bin/winepath" -w "$tmp" 2>/dev/null)
SL_HTML_BMP_DIR="$folder" run_one_test "$SL_BINARY_DIR/html_tests.exe" DibBuffer.WriteBmpForIndependentReader
for bits in 1 4 8 24; do
  file="$tmp/pattern$bits.bmp"
  [ -s "$file" ] || { echo "bmp_readback: $file was not written"; exit 1; }
  convert "$file" -type TrueColor -depth 8 txt:- > "$tmp/pattern$bits.txt"
done
/usr/bin/python3 - "$tmp" <<'PY'
import re, sys
folder = sys.argv[1]
def expected(bits, x, y):
    if bits == 24:
        return (50 * x, 100 * y, 200)
    i = (x + 3 * y) % (1 << bits)
    return ((i * 40 + 10) % 256, 255 - (i * 20) % 256, (i * 7 + 3) % 256)
for bits in (1, 4, 8, 24):
    pixels = {}
    for line in open(f"{folder}/pattern{bits}.txt"):
        m = re.match(r"(\d+),(\d+):.*#([0-9A-Fa-f]{6})", line)
        if m:
            value = m.group(3)
            pixels[(int(m.group(1)), int(m.group(2)))] = tuple(int(value[i:i + 2], 16) for i in (0, 2, 4))
    assert sorted(pixels) == [(x, y) for x in range(5) for y in range(3)], (bits, sorted(pixels))
    for (x, y), colour in pixels.items():
        assert colour == expected(bits, x, y), (bits, x, y, colour, expected(bits, x, y))
    print(f"{bits}-bit: 15 pixels as written")
PY
