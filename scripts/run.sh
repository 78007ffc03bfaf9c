#!/bin/bash
# Builds the program and runs it under Wine in its data folder.  With no usable display it
# runs it on a virtual one, saves a screenshot to <build>/win<NN>/screenshot.png and ends it.
# The 32-bit program where this machine runs it, else the 64-bit one; TARGET=32 or 64 chooses.
# Usage: [TARGET=32|64] scripts/run.sh [build-folder [design-file]]
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD=$(realpath -m "${1:-$ROOT/build}")
[ $# -gt 0 ] && shift   # the rest goes to the program (e.g. a design file to open)
. "$ROOT/scripts/targets.sh"
if [ -n "${TARGET:-}" ]; then
  case "$TARGET" in 32|64) ;; *) echo "run: TARGET is 32 or 64, not '$TARGET'" >&2; exit 2 ;; esac
  "$ROOT/scripts/setup.sh" "$BUILD" "$TARGET"
  t=$TARGET
else
  "$ROOT/scripts/setup.sh" "$BUILD"
  read -r -a targets < "$BUILD/targets"
  t=${targets[0]}
fi
dir=$(sl_target_dir "$BUILD" "$t")
echo "run: the ${t}-bit program"
cmake --build "$dir" -j"$(nproc)" --target SugarleafStudio sl_setting

. "$ROOT/scripts/xvfb.sh"
. "$ROOT/scripts/printer.sh"
sl_wine_env "$dir"
cd "$dir/data"
# On a fresh machine the program has no printer yet: name the PDF queue (each job then
# lands in <build>/win<NN>/printer/Cake_PDF.pdf).  A printer chosen before is kept.
name_printer() { wine "$dir/tools/sl_setting.exe" "$(winepath -w "$dir/data")" printer Cake_PDF || true; }

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  trap 'sl_printer_stop' EXIT
  sl_printer_start "$dir" || echo "run: the program runs without its PDF printer (see above)" >&2
  name_printer
  wine ./SugarleafStudio.exe "$@"
  exit 0
fi

trap 'wineserver -k 2>/dev/null || true; sl_printer_stop; sl_xvfb_stop' EXIT
sl_xvfb_start 1280x1024x24
sl_printer_start "$dir" || echo "run: the program runs without its PDF printer (see above)" >&2
name_printer
wine ./SugarleafStudio.exe "$@" &
# Wait for the main window (bounded), then for the start-up's splash to go.
end=$((SECONDS + ${SL_RUN_SECONDS:-60}))
until xdotool search --onlyvisible --name 'Sugarleaf Studio$' >/dev/null 2>&1; do
  [ $SECONDS -lt $end ] || break
  sleep 0.2
done
splash_shown() {
  local id
  for id in $(xdotool search --onlyvisible --name '' 2>/dev/null); do
    xdotool getwindowgeometry "$id" 2>/dev/null | grep -q "Geometry: 640x480" && return 0
  done
  return 1
}
while splash_shown && [ $SECONDS -lt $end ]; do sleep 0.2; done
import -window root "$dir/screenshot.png"
echo "No display: ran on a virtual one; screenshot in $dir/screenshot.png"
