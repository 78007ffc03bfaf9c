#!/bin/bash
# Print Topic end to end: the help topic window prints on the printer its print dialog
# offers (the test run's PDF queue). The program's topic comes out on one page with its
# text from title to last line; a topic longer than a page goes on over the next pages,
# every paragraph once, in order.
set -euo pipefail
. "$(dirname "$0")/../../../testsupport/test_lib.sh"
require_print_queue Cake_PDF
pdf="${SL_PRINTER_PDF:?the print server names its PDF file}"

printed() { [ -s "$pdf" ] && pdfinfo "$pdf" >/dev/null 2>&1 && [ -z "$(lpstat -o Cake_PDF 2>/dev/null)" ] && echo yes; }
# print <test name>: runs it and waits (60 s at most) for its PDF.
print() {
  rm -f "$pdf"
  HELP_PRINT_CHECK=1 run_one_test "$SL_BINARY_DIR/ui_tests.exe" "HelpTopic.$1"
  local end=$((SECONDS + 60))
  until [ -n "$(printed)" ]; do
    [ $SECONDS -lt $end ] || { echo "FAIL: no PDF at $pdf within 60 s after $1"; exit 1; }
    sleep 0.2
  done
}
pages() { pdfinfo "$pdf" | sed -n 's/^Pages: *//p'; }

print PrintTopicOnTheChosenPrinter
text=$(pdftotext -layout "$pdf" -)
for want in "Designing a cake top" "Backgrounds" "Frame menu" "paper offsets."; do
  grep -qF "$want" <<<"$text" || { echo "FAIL: the printed topic lacks \"$want\":"; echo "$text"; exit 1; }
done
[ "$(pages)" -eq 1 ] || { echo "FAIL: the topic took $(pages) pages, not 1"; exit 1; }
echo "the program's topic: 1 page with its text"

print PrintLongTopicOverSeveralPages
n=$(pages)
[ "$n" -ge 2 ] || { echo "FAIL: 150 paragraphs on $n page(s)"; exit 1; }
numbers=$(pdftotext "$pdf" - | tr -d '\f' | sed -n 's/^Paragraph \([0-9]*\) of the long topic\.$/\1/p' | tr '\n' ' ')
[ "$numbers" = "$(seq -s ' ' 1 150) " ] || { echo "FAIL: the paragraphs printed were: $numbers"; exit 1; }
echo "the long topic: $n pages, paragraphs 1 to 150 once each, in order"
