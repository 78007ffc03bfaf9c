#!/bin/bash
# Print Topic end to end: the help topic window prints the program's topic on the printer
# its print dialog offers (the test run's PDF queue); the PDF holds the topic's text, from
# its title to its last line.
set -euo pipefail
. "$(dirname "$0")/../../../testsupport/test_lib.sh"
require_print_queue Cake_PDF
pdf="${SL_PRINTER_PDF:?the print server names its PDF file}"
rm -f "$pdf"
HELP_PRINT_CHECK=1 run_one_test "$SL_BINARY_DIR/ui_tests.exe" HelpTopic.PrintTopicOnTheChosenPrinter
printed() { [ -s "$pdf" ] && pdfinfo "$pdf" >/dev/null 2>&1 && [ -z "$(lpstat -o Cake_PDF 2>/dev/null)" ] && echo yes; }
end=$((SECONDS + 60))
until [ -n "$(printed)" ]; do
  [ $SECONDS -lt $end ] || { echo "FAIL: no PDF at $pdf within 60 s"; exit 1; }
  sleep 0.2
done
pdfinfo "$pdf" | grep -E "^(Pages|Page size)"
text=$(pdftotext -layout "$pdf" -)
for want in "Designing a cake top" "Backgrounds" "Frame menu" "paper offsets."; do
  grep -qF "$want" <<<"$text" || { echo "FAIL: the printed topic lacks \"$want\":"; echo "$text"; exit 1; }
done
echo "the printed topic holds its text"
