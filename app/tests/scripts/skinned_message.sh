#!/bin/bash
# The real program on a screen too small for it: a 960 x 640 display of its own, so that its
# maximised window is smaller than 1024 x 700 and the start-up shows message "125" in the
# skinned message box: pale yellow, the text of "125", an OK button at its lower right.
# Return answers it, and closing the unchanged design ends the program.
#
# The small screen is a virtual display of this script's own, with a copy of the target's
# Wine prefix and so a Wine server of its own: the other tests' programs keep their screen.
set -eu   # no pipefail: awk stops reading the pixel lists early
. "$(dirname "$0")/program_lib.sh"
. "$SL_SOURCE_DIR/scripts/xvfb.sh"
yellow=FFFFC0

own=$(mktemp -d)
cp -a "$SL_BINARY_DIR/wine" "$own/wine"
sed "s|$SL_BINARY_DIR/wine\"|$own/wine\"|" "$SL_BINARY_DIR/wine-run" > "$own/wine-run"
chmod +x "$own/wine-run"
grep -q "$own/wine" "$own/wine-run" || fail "no wine-run of the copied prefix"
cleanup() {
  [ -n "$pid" ] && kill "$pid" 2>/dev/null || true
  WINEPREFIX="$own/wine" wineserver -k 2>/dev/null || true
  sl_xvfb_stop
  rm -rf "$work" "$own"
}
export WINEPREFIX="$own/wine"
sl_xvfb_start 960x640x24 || fail "no small virtual display"

(cd "$work" && exec "$own/wine-run" ./SugarleafStudio.exe) &
pid=$!
wait_main '^Untitled - Sugarleaf Studio$'
box=$(wait_window 60 '^Sugarleaf Studio$') || fail "no message on the small screen"
shot_file="$shots/skinned-message-125.png"
rm -f "$work/painted.sum"
wait_for 10 painted "$box" "$shot_file" >/dev/null || true
read -r bx by bw bh <<<"$(window_geometry "$box")"
echo "message box at $bx $by, $bw x $bh"
# Pale yellow inside its frame, wider than high, with a button at its lower right.
[ "$(pixel "$shot_file" $((bx + 8)) $((by + bh - 8)))" = "$yellow" ] || fail "the message box is not pale yellow"
[ "$bw" -gt $((2 * bh)) ] || fail "the message box is ${bw}x$bh"
[ "$(pixel "$shot_file" $((bx + bw - 45)) $((by + bh - 25)))" != "$yellow" ] || fail "no button at the lower right"

answer_dialog "$box" '^Sugarleaf Studio$' Return
[ -z "$(program_ended)" ] || fail "the program ended with the message"
close_program
echo "message 125 shown in the skinned box; screenshot $shot_file"
