#!/bin/bash
# Prints the view's jobs (the DISABLED_ jobs of app_tests' PrintJobTest) to the test
# run's PDF queues and reads every PDF back: one page of A4, and at 300 pixels per inch
# the colours each job expects at the points it wrote to "<job>.expect".
# Needs the test printer of scripts/printer.sh (SL_PRINTER_PDF, CUPS_SERVER).
set -u
B="$SL_BINARY_DIR"
S="$SL_SOURCE_DIR"
. "$S/testsupport/test_lib.sh"
require_print_queue Cake_PDF
OUT=$(dirname "${SL_PRINTER_PDF:?the print server names its PDF file}")
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT

# A second queue that offers A4 and A3 only, with unprintable margins on A4; only on the
# run's own server.
# The test run adds it before any test starts; added here only when run alone.
if [ -n "${CUPS_SERVER:-}" ] && ! lpstat -p Cake_A4A3 >/dev/null 2>&1; then
  lpadmin -p Cake_A4A3 -E -v "file://$OUT/Cake_A4A3.pdf" -P "$S/app/tests/scripts/print_a4a3.ppd" 2>/dev/null
fi

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# Waits until the queues are idle and the file is there.
wait_for_pdf() {
  local pdf="$1"
  for _ in $(seq 300); do
    if [ -s "$pdf" ] && [ -z "$(lpstat -o 2>/dev/null)" ]; then return 0; fi
    sleep 0.2
  done
  return 1
}

run_gtest() {
  (cd "$B/testdata" && "$B/wine-run" "$B/app_tests.exe" --gtest_color=no \
      --gtest_also_run_disabled_tests --gtest_filter="$1") > "$WORK/gtest.log" 2>&1
  local rc=$?
  grep -q "\[  PASSED  \] 1 test" "$WORK/gtest.log" || rc=1
  [ $rc -eq 0 ] || cat "$WORK/gtest.log"
  return $rc
}

check_job() {
  local job="$1" expect="$B/testdata/$1.expect"
  local pdf_name pdf
  rm -f "$OUT"/*.pdf "$expect"
  if ! run_gtest "PrintJobTest.DISABLED_$job"; then fail "$job: the job did not run"; return; fi
  pdf_name=$(awk '$1 == "pdf" { print $2 }' "$expect" | tr -d '\r')
  pdf="$OUT/$pdf_name"
  if ! wait_for_pdf "$pdf"; then
    fail "$job: no PDF $pdf_name"
    lpstat -o; ls -la "$OUT"
    return
  fi
  local pages size
  pages=$(pdfinfo "$pdf" | awk '/^Pages:/ { print $2 }')
  size=$(pdfinfo "$pdf" | awk '/^Page size:/ { printf "%d x %d", $3, $5 }')
  [ "$pages" = "1" ] || fail "$job: $pages pages"
  [ "$size" = "595 x 841" ] || [ "$size" = "595 x 842" ] || fail "$job: page size $size"
  pdftoppm -r 300 -singlefile "$pdf" "$WORK/$job"
  mkdir -p "$OUT/jobs" && cp "$pdf" "$OUT/jobs/$job.pdf"   # kept to look at
  python3 - "$WORK/$job.ppm" "$expect" "$job" <<'PY' || fail "$job: page content"
import sys
ppm, expect, job = sys.argv[1:4]
data = open(ppm, "rb").read()
# P6 header: magic, width, height, maximum value, then one whitespace byte.
fields, pos = [], 0
while len(fields) < 4:
    while data[pos:pos + 1].isspace():
        pos += 1
    start = pos
    while not data[pos:pos + 1].isspace():
        pos += 1
    fields.append(data[start:pos])
    pos = pos if len(fields) < 4 else pos + 1
width, height = int(fields[1]), int(fields[2])
pixels = data[pos:]
bad = 0
for line in open(expect):
    parts = line.split(None, 4)
    if parts[0] == "pdf":
        continue
    x, y, rgb, tol, what = int(parts[0]), int(parts[1]), parts[2], int(parts[3]), parts[4].strip()
    want = [int(rgb[i:i + 2], 16) for i in (0, 2, 4)]
    if not (0 <= x < width and 0 <= y < height):
        print("%s: %s at (%d, %d) is off the page" % (job, what, x, y)); bad += 1; continue
    o = (y * width + x) * 3
    got = list(pixels[o:o + 3])
    if any(abs(a - b) > tol for a, b in zip(got, want)):
        print("%s: %s at (%d, %d): %02X%02X%02X, expected %s" % (job, what, x, y, *got, rgb)); bad += 1
print("%s: %d points checked, %d wrong" % (job, sum(1 for _ in open(expect)) - 1, bad))
sys.exit(1 if bad else 0)
PY
}

for job in JobLayoutTen JobLayoutTenWithMargins JobAdjusted JobSkipLastPaperNine JobPaperSix \
           JobTurned JobRoundOutline; do
  check_job "$job"
done

# A layout on paper code 3 with the queue that lacks it: message "123".
run_gtest "PrintJobTest.PaperCodeThreeNeedsAPrinterThatListsIt" || fail "paper code 3"
grep -q "SKIPPED" "$WORK/gtest.log" && fail "paper code 3: no queue without it"

echo "$failures failures"
[ $failures -eq 0 ]
