#!/bin/bash
# The real program on a screen too small for it: it runs in a 960 x 640 desktop of its own
# (Wine's virtual desktop), so its maximised window is smaller than 1024 x 700 and the
# start-up shows message "125" in the skinned message box: pale yellow, the text of "125",
# one OK button. Return answers it, and closing the unchanged design ends the program.
set -eu   # no pipefail: awk stops reading the pixel lists early
. "$(dirname "$0")/program_lib.sh"
desk=sl_small_$$
yellow=FFFFC0

# Launched inside the desktop; the desktop goes when the program ends.
(cd "$work" && exec "$SL_BINARY_DIR/wine-run" explorer /desktop=$desk,960x640 ./SugarleafStudio.exe) &
pid=$!
screen=$(wait_window 90 "^$desk - Wine desktop\$") || fail "no 960 x 640 desktop"
read -r dx dy dw dh <<<"$(window_geometry "$screen")"
[ "$dw" = 960 ] && [ "$dh" = 640 ] || fail "the desktop is ${dw}x$dh"

# The pale yellow rectangle of the message box inside the desktop: "x0 y0 x1 y1".
yellow_box() {
  convert "$1" -crop "${dw}x${dh}+$dx+$dy" +repage txt:- | awk -v c="#$yellow" 'index($0, c) {
    split($1, a, /[,:]/); x = a[1]; y = a[2]; if (n == 0 || x < x0) x0 = x; if (n == 0 || y < y0) y0 = y;
    if (x > x1) x1 = x; if (y > y1) y1 = y; n++ } END { if (n > 2000) print x0, y0, x1, y1 }'
}
shot_file="$shots/skinned-message-125.png"
box_shown() { shot "$shot_file"; yellow_box "$shot_file"; }
box=$(wait_for 60 box_shown) || fail "no skinned message box on the small screen"
read -r x0 y0 x1 y1 <<<"$box"
echo "message box at $x0 $y0 $x1 $y1 of the desktop"
# The box is wider than high, and its OK button sits at its lower right.
[ $((x1 - x0)) -gt $((2 * (y1 - y0))) ] || fail "the yellow area is not the message box's shape"
ok_face=$(pixel "$shot_file" $((dx + x1 - 40)) $((dy + y1 - 20)))
[ "$ok_face" != "$yellow" ] || fail "no button at the box's lower right"

# Return answers it: the yellow goes, the program stays.
focus_window "$screen"
xdotool key Return
box_gone() { shot "$work/after.png"; [ -z "$(yellow_box "$work/after.png")" ] && echo gone; }
wait_for 15 box_gone >/dev/null || fail "Return did not close the message box"
[ -z "$(program_ended)" ] || fail "the program ended with the message"

# An unchanged design closes at once; its desktop with it.
focus_window "$screen"
xdotool key alt+F4
wait_no_window 30 "^$desk - Wine desktop\$" || fail "the program did not close"
wait_exit "its window was closed"
echo "message 125 shown in the skinned box; screenshot $shot_file"
