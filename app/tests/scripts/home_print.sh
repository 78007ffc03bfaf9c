#!/bin/bash
# Prints from the home panel's Print button (HomePrint's DISABLED_ jobs of app_tests, each
# alone, the print dialog answered with Print) to the test run's PDF queue, and reads each
# PDF back: a layout on paper 3 in landscape gives one 11 x 17 inch page (pdfinfo) on which
# the first cell's red design lies turned, wider than high; an A4 portrait layout one A4 page
# with it upright, higher than wide (pdftoppm).
set -u
B="$SL_BINARY_DIR"
. "$SL_SOURCE_DIR/testsupport/test_lib.sh"
require_print_queue Cake_PDF
PDF=${SL_PRINTER_PDF:?the print server names its PDF file}

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
# Waits until the queues are idle and the file is there.
wait_for_pdf() {
  for _ in $(seq 300); do
    if [ -s "$PDF" ] && [ -z "$(lpstat -o 2>/dev/null)" ]; then return 0; fi
    sleep 0.2
  done
  return 1
}

# "width height" of the red (200, 40, 40) area of the page at 20 pixels per inch.
red_extent() {
  pdftoppm -r 20 -singlefile -png "$PDF" "$WORK/page" || return 0
  convert "$WORK/page.png" -fill black -fuzz 8% +opaque "#C82828" -fill white -opaque "#C82828" -trim -format "%w %h" info: 2>/dev/null
}
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT

check_job() {   # check_job <job> <size "w x h" in points> <wide|high>
  rm -f "$PDF"
  (cd "$B/testdata" && run_one_test "$B/app_tests.exe" "HomePrint.DISABLED_$1" --gtest_also_run_disabled_tests) \
    || { fail "$1: the job did not run"; return; }
  wait_for_pdf || { fail "$1: no PDF"; return; }
  mkdir -p "$B/screenshots" && cp "$PDF" "$B/screenshots/home-$1.pdf"
  local info pages size w h shape
  info=$(pdfinfo "$PDF")
  pages=$(echo "$info" | awk '/^Pages:/ { print $2 }')
  size=$(echo "$info" | awk '/^Page size:/ { printf "%d x %d", $3 + 0.5, $5 + 0.5 }')
  read -r w h <<<"$(red_extent)"
  shape=none
  [ -n "${h:-}" ] && [ "$w" -gt "$h" ] && shape=wide
  [ -n "${h:-}" ] && [ "$h" -gt "$w" ] && shape=high
  echo "$1: $pages page(s), $size pt, the red design ${w:-?} x ${h:-?} px ($shape)"
  [ "$pages" = "1" ] || fail "$1: $pages pages"
  [ "$size" = "$2" ] || fail "$1: page size $size, not $2"
  [ "$shape" = "$3" ] || fail "$1: the red design is $shape on the page, not $3"
}

check_job JobTabloidLandscape "792 x 1224" wide
check_job JobA4Portrait "595 x 842" high

echo "$failures failures"
[ $failures -eq 0 ]
