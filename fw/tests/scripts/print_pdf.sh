#!/bin/bash
# The print road end to end: a job whose page fails prints nothing; the layer's test shell
# prints one page to the test run's PDF queue (scripts/printer.sh); the view turned the
# paper to landscape while preparing, so the PDF holds one A4 sheet with the landscape
# page on it, and the view's one-inch black square one inch from that page's top-left
# corner.
set -euo pipefail
pdf="${SL_PRINTER_PDF:-}"
if [ -z "$pdf" ]; then
  echo "no test printer (SL_PRINTER_PDF unset): skipped"
  exit 0
fi
rm -f "$pdf"
# First a job whose page fails halfway: it is dropped, nothing reaches the queue's file.
FW_PRINT_CHECK=1 "$SL_BINARY_DIR/wine-run" "$SL_BINARY_DIR/fw_tests.exe" --gtest_color=no \
  --gtest_filter=PrintFixture.PageThatFailsDropsTheJob | tail -3
for _ in $(seq 8); do
  [ -e "$pdf" ] && { echo "FAIL: the failed job printed"; exit 1; }
  sleep 0.5
done
FW_PRINT_CHECK=1 "$SL_BINARY_DIR/wine-run" "$SL_BINARY_DIR/fw_tests.exe" --gtest_color=no \
  --gtest_filter=PrintFixture.PrintsOnePageToTheQueue | tail -3
for _ in $(seq 120); do
  [ -s "$pdf" ] && pdfinfo "$pdf" >/dev/null 2>&1 && break
  sleep 0.5
done
[ -s "$pdf" ] || { echo "FAIL: no PDF at $pdf"; exit 1; }
info=$(pdfinfo "$pdf")
echo "$info" | grep -E "Pages|Page size"
echo "$info" | grep -Eq "^Pages: +1$" || { echo "FAIL: not one page"; exit 1; }
echo "$info" | grep -Eq "^Page size: +(842(\.[0-9]+)? x 595|595(\.[0-9]+)? x 842)(\.[0-9]+)? pts" ||
  { echo "FAIL: not A4"; exit 1; }
# One pixel per point.  A landscape page printed on a portrait sheet is turned by 90
# degrees: its top-left corner is the sheet's bottom-left one.
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
pdftoppm -r 72 -gray -singlefile "$pdf" "$tmp/page"
python3 - "$tmp/page.pgm" <<'PY'
import sys
data = open(sys.argv[1], 'rb').read()
# Binary PGM: "P5\n<w> <h>\n<max>\n" then one byte per pixel.
parts = data.split(maxsplit=4)
w, h = int(parts[1]), int(parts[2])
pixels = parts[4][-w * h:]
def at(x, y):
    # (x, y) on the landscape page, in points from its top-left corner.
    if w < h:
        x, y = y, h - 1 - x
    return pixels[y * w + x]
# The GDI+ square (red, grey 76 here) is two inches right of the black one.
cases = [((80, 80), 'black'), ((136, 136), 'black'), ((108, 108), 'black'),
         ((60, 108), 'white'), ((156, 108), 'white'), ((108, 60), 'white'),
         ((108, 156), 'white'), ((400, 300), 'white'), ((700, 500), 'white'),
         ((224, 80), 'red'), ((280, 136), 'red'), ((252, 108), 'red'),
         ((204, 108), 'white'), ((300, 108), 'white')]
bad = []
for (x, y), want in cases:
    v = at(x, y)
    ok = {'black': v < 64, 'white': v > 192, 'red': 60 <= v <= 100}[want]
    if not ok:
        bad.append(f"({x},{y}) is {v}, want {want}")
print(f"page {w}x{h}: " + ("ok" if not bad else "; ".join(bad)))
sys.exit(1 if bad else 0)
PY
echo "1 passed, 0 failed"
