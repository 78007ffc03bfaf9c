#!/bin/bash
# The print road end to end: a job whose page fails prints nothing; the layer's test shell
# prints one page to the test run's PDF queue (scripts/printer.sh); the view turned the
# paper to landscape while preparing, so the PDF holds one A4 sheet with the landscape
# page on it, and the view's one-inch black square one inch from that page's top-left
# corner.
set -euo pipefail
. "$(dirname "$0")/../../../testsupport/test_lib.sh"
require_print_queue Cake_PDF
pdf="${SL_PRINTER_PDF:?the print server names its PDF file}"
rm -f "$pdf"
# The jobs the queue has been given so far, printed or not.
jobs_given() { lpstat -W all -o Cake_PDF 2>/dev/null | wc -l; }
before=$(jobs_given)
# First a job whose page fails halfway: it is dropped, nothing reaches the queue.  Then a
# good job: once its PDF is there, the queue has been given exactly one job more - the
# same count sees a job when one is printed.
FW_PRINT_CHECK=1 run_one_test "$SL_BINARY_DIR/fw_tests.exe" PrintFixture.PageThatFailsDropsTheJob
FW_PRINT_CHECK=1 run_one_test "$SL_BINARY_DIR/fw_tests.exe" PrintFixture.PrintsOnePageToTheQueue
printed() { [ -s "$pdf" ] && pdfinfo "$pdf" >/dev/null 2>&1 && [ -z "$(lpstat -o Cake_PDF 2>/dev/null)" ] && echo yes; }
end=$((SECONDS + 60))
until [ -n "$(printed)" ]; do
  [ $SECONDS -lt $end ] || { echo "FAIL: no PDF at $pdf"; exit 1; }
  sleep 0.2
done
given=$(( $(jobs_given) - before ))
[ "$given" -eq 1 ] || { echo "FAIL: the queue was given $given jobs: the failed job printed"; exit 1; }
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
