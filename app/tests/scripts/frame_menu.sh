#!/bin/bash
# The Frame menu of the real program: the home panel's Frame button shows it docked 5 pixels
# below the top and 5 pixels left of the right edge of the view, with the frame panel and
# its 14 style thumbnails; choosing style 3 draws that frame (white, outlined in black) round
# the design rectangle; closing then asks "Save Changes".
set -eu   # no pipefail: awk stops reading the pixel lists early
. "$(dirname "$0")/program_lib.sh"

frame_colour=74B8FF   # the menu's one-pixel frame, RGB(116, 184, 255)
thumb_colour=D4A020   # the fill of the style thumbnails

start_program 'Sugarleaf Studio$'
read -r mx my mw mh <<<"$(window_geometry "$main")"

# The home panel's Frame button, once the panel shows it.
start="$shots/frame-start.png"
ready() {
  local top row
  shot "$start"
  top=$(client_top "$start" $((mx + 600)))
  [ -n "$top" ] && row=$(home_button "$start" "$top" 1040) && [ -n "$row" ] && echo "$top $row"
}
found=$(wait_for 30 ready) || fail "the home panel never showed its Frame button"
read -r ctop frow <<<"$found"
echo "client top at $ctop, Frame button at row $frow"

# The design rectangle before: the white runs through the middle of the client area.
mid=$((ctop + (my + mh - ctop) / 2))
read -r dx0 dx1 <<<"$(white_run "$start" "$mid")"
[ -n "${dx1:-}" ] || fail "no white design area in the middle row"
cx=$(((dx0 + dx1) / 2))
read -r dy0 dy1 <<<"$(column_run "$start" "$cx")"
[ -n "${dy1:-}" ] || fail "no white design area in the middle column"
echo "design rectangle from $dx0,$dy0 to $dx1,$dy1"

click_at $((mx + 40 > 0 ? mx + 40 : 40)) $((ctop + frow + 12))
menu_shot="$shots/frame-menu.png"
menu_shown() {
  local b
  kill -0 "$pid" 2>/dev/null || fail "the program ended after the Frame button"
  shot "$menu_shot"
  b=$(colour_box "$menu_shot" "$frame_colour")
  [ -n "$b" ] && [ "$(cat "$work/menu.box" 2>/dev/null)" = "$b" ] && echo "$b"
  echo "$b" > "$work/menu.box"
}
box=$(wait_for 20 menu_shown) || fail "no Frame menu after the Frame button"
read -r bx0 by0 bx1 by1 <<<"$box"
echo "menu frame from $bx0,$by0 to $bx1,$by1"
convert "$menu_shot" -crop "$((bx1 - bx0 + 1))x$((by1 - by0 + 1))+$bx0+$by0" +repage "$shots/frame-menu-panel.png"
[ $((by0 - ctop)) -eq 5 ] || fail "the menu stands $((by0 - ctop)) pixels below the top, not 5"
row=$(( (by0 + by1) / 2 ))
right=$(convert "$menu_shot" -crop "$((mx + mw - bx1 > 1 ? mx + mw - bx1 : 1))x1+$((bx1 + 1))+$row" +repage txt:- \
  | awk -v c="#$canvas_colour" 'NR > 1 && index($0, c) { n++ } END { print n + 0 }')
[ "$right" -eq 5 ] || fail "$right canvas pixels right of the menu, not 5"

# A point of the menu given in its template's dialog units (151 x 365); the frame panel
# stands at (2, 18) and its style list at (1, 76) in it.
at_dlu() { echo $((bx0 + $1 * (bx1 - bx0 + 1) / 151)) $((by0 + $2 * (by1 - by0 + 1) / 365)); }
read -r lx ly <<<"$(at_dlu 3 94)"
read -r lx1 ly1 <<<"$(at_dlu 148 224)"
# The thumbnails: the gold of their fill in each of the list's three columns and three
# visible rows (65 x 68 pixels apart), so no row lies over another.
gold_in() {   # gold_in <png> <x> <y> <w> <h>: pixels of the thumbnails' fill there
  convert "$1" -crop "$4x$5+$2+$3" +repage txt:- | awk -v c="#$thumb_colour" 'index($0, c) { n++ } END { print n + 0 }'
}
for r in 0 1 2; do
  for c in 0 1 2; do
    n=$(gold_in "$menu_shot" $((lx + 4 + c * 65)) $((ly + 6 + r * 68)) 60 36)
    [ "$n" -gt 40 ] || fail "only $n thumbnail pixels in row $r, column $c of the style list"
  done
done

# The design before: no dark pixel inside the design rectangle on its middle row and column.
dark_between() {   # dark_between <png> <x> <y> <w> <h>: dark pixels there
  convert "$1" -crop "$4x$5+$2+$3" +repage txt:- | awk 'NR > 1 {
    gsub(/[()]/, " "); split($0, f, /[ ,:]+/); if (f[3] < 90 && f[4] < 90 && f[5] < 90) n++ } END { print n + 0 }'
}
w=$((dx1 - dx0)); h=$((dy1 - dy0))
sides() {   # sides <png>: dark pixels left, middle, right on the middle row; top, middle, bottom in the column
  echo "$(dark_between "$1" $((dx0 + 4)) "$mid" $((w / 3 - 4)) 1) $(dark_between "$1" $((dx0 + w / 3)) "$mid" $((w / 3)) 1)" \
    "$(dark_between "$1" $((dx0 + 2 * w / 3)) "$mid" $((w / 3 - 4)) 1)" \
    "$(dark_between "$1" "$cx" $((dy0 + 4)) 1 $((h / 3 - 4))) $(dark_between "$1" "$cx" $((dy0 + h / 3)) 1 $((h / 3)))" \
    "$(dark_between "$1" "$cx" $((dy0 + 2 * h / 3)) 1 $((h / 3 - 4)))"
}
read -r l m r t c b <<<"$(sides "$menu_shot")"
[ $((l + m + r + t + c + b)) -eq 0 ] || fail "dark pixels in the design before a style: $l $m $r / $t $c $b"

# Style 3, the third thumbnail of the first row: its white band, outlined in black, round
# the design rectangle; its inner outline crosses the middle row and column near each side.
click_at $((lx + 2 * 65 + 34)) $((ly + 28))
styled="$shots/frame-style3.png"
framed() {
  kill -0 "$pid" 2>/dev/null || fail "the program ended after style 3"
  shot "$styled"
  read -r l m r t c b <<<"$(sides "$styled")"
  [ "$l" -gt 0 ] && [ "$r" -gt 0 ] && [ "$t" -gt 0 ] && [ "$b" -gt 0 ] && [ "$m" -eq 0 ] && [ "$c" -eq 0 ] \
    && echo "$l $r $t $b"
}
found=$(wait_for 20 framed) || fail "no frame round the design after style 3 (dark pixels $l $m $r / $t $c $b)"
echo "style 3 drawn round the design: dark pixels left, right, top, bottom: $found"

# The other styles: the list scrolled down with the wheel shows the last rows.
xdotool mousemove $((lx + 100)) $((ly + 100))
for i in 1 2 3 4 5 6; do xdotool click 5; done
scrolled="$shots/frame-menu-scrolled.png"
last_row() {
  shot "$scrolled"
  n=$(gold_in "$scrolled" $((lx + 4)) $((ly1 - 80)) 200 76)
  [ "$n" -gt 200 ] && [ "$(gold_in "$scrolled" "$lx" "$ly" 200 70)" != "$(gold_in "$menu_shot" "$lx" "$ly" 200 70)" ] && echo "$n"
}
wait_for 15 last_row >/dev/null || fail "the style list did not scroll to its last rows"
convert "$scrolled" -crop "$((bx1 - bx0 + 1))x$((by1 - by0 + 1))+$bx0+$by0" +repage "$shots/frame-menu-panel-scrolled.png"

# The design changed: closing asks; No ends the program.
focus_window "$main"
xdotool key alt+F4
ask=$(wait_dialog '^Save Changes$' "closing did not ask after the frame" "$shots/frame-save-changes.png")
focus_window "$ask"
xdotool key Tab space   # from Yes to No
wait_exit "No"
echo "Frame menu docked with its styles, style 3 drawn round the design; screenshots in $shots"
