#!/bin/bash
# Builds everything and runs every test under Wine.  Usage: scripts/test.sh [build-folder]
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD=$(realpath -m "${1:-$ROOT/build}")
"$ROOT/scripts/setup.sh" "$BUILD"
cmake --build "$BUILD" -j"$(nproc)"

. "$ROOT/scripts/xvfb.sh"
. "$ROOT/scripts/printer.sh"
export WINEPREFIX="$BUILD/wine" WINEARCH=win32 WINEDEBUG=-all LC_ALL=C.UTF-8 LANG=C.UTF-8
export WINEDLLOVERRIDES="winemenubuilder.exe=d"
cleanup() { wineserver -k 2>/dev/null || true; sl_printer_stop; sl_xvfb_stop; }
trap cleanup EXIT
sl_xvfb_start
sl_printer_start "$BUILD"
# The second test queue (A4 and A3 only) before any test starts, so that every test that
# looks for it finds it, whichever starts first.
if [ -n "${CUPS_SERVER:-}" ]; then
  lpadmin -p Cake_A4A3 -E -v "file://$BUILD/printer/Cake_A4A3.pdf" \
    -P "$ROOT/app/tests/scripts/print_a4a3.ppd" 2>/dev/null || true
fi
# One persistent server for the whole run: each exe then starts in a fraction of a second.
wineserver -p
wine wineboot >/dev/null 2>&1 || true
set +e
(cd "$BUILD" && ctest --output-on-failure -j"$(nproc)" --timeout 600)
rc=$?
exit $rc
