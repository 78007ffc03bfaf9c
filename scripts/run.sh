#!/bin/bash
# Builds the program and runs it under Wine in its data folder.  With no usable display it
# runs it on a virtual one, saves a screenshot to <build>/screenshot.png and ends it.
# Usage: scripts/run.sh [build-folder [design-file]]
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD=$(realpath -m "${1:-$ROOT/build}")
[ $# -gt 0 ] && shift   # the rest goes to the program (e.g. a design file to open)
"$ROOT/scripts/setup.sh" "$BUILD"
cmake --build "$BUILD" -j"$(nproc)" --target SugarleafStudio sl_setting

. "$ROOT/scripts/xvfb.sh"
. "$ROOT/scripts/printer.sh"
export WINEPREFIX="$BUILD/wine" WINEARCH=win32 WINEDEBUG=-all LC_ALL=C.UTF-8 LANG=C.UTF-8
export WINEDLLOVERRIDES="winemenubuilder.exe=d"
cd "$BUILD/data"
# On a fresh machine the program has no printer yet: name the PDF queue (each job then
# lands in $BUILD/printer/Cake_PDF.pdf).  A printer chosen before is kept.
name_printer() { wine "$BUILD/tools/sl_setting.exe" "$(winepath -w "$BUILD/data")" printer Cake_PDF || true; }

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  trap 'sl_printer_stop' EXIT
  sl_printer_start "$BUILD"
  name_printer
  wine ./SugarleafStudio.exe "$@"
  exit 0
fi

trap 'wineserver -k 2>/dev/null || true; sl_printer_stop; sl_xvfb_stop' EXIT
sl_xvfb_start 1280x1024x24
sl_printer_start "$BUILD"
name_printer
wine ./SugarleafStudio.exe "$@" &
sleep "${SL_RUN_SECONDS:-10}"
import -window root "$BUILD/screenshot.png"
echo "No display: ran on a virtual one; screenshot in $BUILD/screenshot.png"
