#!/bin/bash
# The test command's print road from a build folder that only its owner can pass through:
# below a mode-700 folder whose name begins with a dot, scripts/printer.sh starts a server
# of its own (its set-up check printed a page), a PostScript job printed through it lands in
# the build folder as a one-page PDF, a server whose filters cannot print fails its check
# at once with its own error line, and stopping the server ends it and removes its private
# folder.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d)
pid="" root=""
cleanup() {
  [ -n "$pid" ] && kill "$pid" 2>/dev/null
  case "$root" in /tmp/sl-cups.*) rm -rf "$root" ;; esac
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*"; exit 1; }

mkdir -m 700 "$work/.private"
build="$work/.private/work/clone/build/win64"
mkdir -p "$build"
[ "$(stat -c %a "$work/.private")" = 700 ] || fail "the fixture's folder is not mode 700"

. "$ROOT/scripts/printer.sh"
# This server, whichever runs the test.
unset CUPS_SERVER
export SL_PRINTER_PRIVATE=1
started=$SECONDS
sl_printer_start "$build" || fail "scripts/printer.sh gave no print server (its own words above)"
echo "server ready (its check page printed) in $((SECONDS - started)) s"
pid=$SL_PRINTER_PID root=$SL_PRINTER_ROOT
[ -n "$pid" ] && kill -0 "$pid" || fail "no server process of our own"
[ "$SL_PRINTER_PDF" = "$build/printer/Cake_PDF.pdf" ] || fail "the PDF lands in $SL_PRINTER_PDF"
[ ! -e "$SL_PRINTER_PDF" ] || fail "the set-up check left its PDF behind"

job="$work/job.ps"
printf '%s\n' '%!PS-Adobe-3.0' '%%Pages: 1' '%%EndComments' '%%Page: 1 1' \
  '0 0 1 setrgbcolor 72 72 144 144 rectfill showpage' '%%EOF' > "$job"
lp -d Cake_PDF "$job" >/dev/null || fail "the queue refused the job"
end=$((SECONDS + 60))
until [ -s "$SL_PRINTER_PDF" ] && [ -z "$(lpstat -o Cake_PDF 2>/dev/null)" ]; do
  [ $SECONDS -lt $end ] || { sl_printer_log_errors; fail "no PDF at $SL_PRINTER_PDF after 60 s"; }
  sleep 0.2
done
pdfinfo "$SL_PRINTER_PDF" | grep -E "^Pages:" || true
pdfinfo "$SL_PRINTER_PDF" | grep -Eq "^Pages: +1$" || fail "the PDF is not one page"

# A server whose filters cannot reach its spool says so at once, in its own words.
chmod 700 "$root/spool"
started=$SECONDS
if out=$(sl_printer_check 2>&1); then fail "the check passed with an unreachable spool"; fi
echo "$out"
[ $((SECONDS - started)) -lt 20 ] || fail "the failed check took $((SECONDS - started)) s"
echo "$out" | grep -q "^printer:   E .*Job" || fail "the failed check did not give the server's error line"
chmod 755 "$root/spool"

sl_printer_stop
! kill -0 "$pid" 2>/dev/null || fail "the server still runs after sl_printer_stop"
[ ! -e "$root" ] || fail "the server's private folder $root is left behind"
[ -z "${CUPS_SERVER:-}" ] || fail "CUPS_SERVER still names the stopped server"
pid=""
echo "PASS: printed through a server started below $work/.private"
