#!/bin/bash
# The Background menu of the real program: the home panel's Background button shows it
# docked 5 pixels below the top and 5 pixels left of the right edge of the view, in the skin
# (blue panel, yellow labels, white captions, the light blue frame), with the fill panel
# first; resting the pointer on Solid shows its help bubble; with a swatches file of two
# lines, Linear paints the last line's colours as a gradient in the design rectangle; and
# closing then asks "Save Changes".
set -eu   # no pipefail: awk stops reading the pixel lists early
. "$(dirname "$0")/program_lib.sh"

frame_colour=74B8FF   # the menu's one-pixel frame, RGB(116, 184, 255)
# Two swatches in the data folder "swatches" (the program's folder unless set): all green,
# then red into blue (colours 1, 2, 5, 3, 4 in the file's order).
# The help bubbles' texts in the help folder.
cp -r "$SL_BINARY_DIR/data/help" "$work/"
mkdir -p "$work/swatches"
printf '0,200,0,0,200,0,0,200,0,0,200,0,0,200,0\r\n255,0,0,255,0,0,0,0,255,0,0,255,0,0,255\r\n' \
  > "$work/swatches/swatches.txt"

start_program 'Sugarleaf Studio$'
read -r mx my mw mh <<<"$(window_geometry "$main")"

# The home panel's Background button, once the panel shows it.
start="$shots/background-start.png"
ready() {
  local top row
  shot "$start"
  top=$(client_top "$start" $((mx + 600)))
  [ -n "$top" ] && row=$(home_button "$start" "$top" 1090) && [ -n "$row" ] && echo "$top $row"
}
found=$(wait_for 30 ready) || fail "the home panel never showed its Background button"
read -r ctop brow <<<"$found"
echo "client top at $ctop, Background button at row $brow"

# The design area before: the longest white run of the middle row of the client area.
mid=$((ctop + (my + mh - ctop) / 2))
read -r dx0 dx1 <<<"$(white_run "$start" "$mid")"
[ -n "${dx1:-}" ] || fail "no white design area in the middle row"
echo "design area from $dx0 to $dx1 on row $mid"

click_at $((mx + 40 > 0 ? mx + 40 : 40)) $((ctop + brow + 12))
# The menu: the bounding box of its frame colour once it has painted.
menu_shot="$shots/background-menu.png"
menu_shown() {
  local b
  kill -0 "$pid" 2>/dev/null || fail "the program ended after the Background button"
  shot "$menu_shot"
  b=$(colour_box "$menu_shot" "$frame_colour")
  [ -n "$b" ] && [ "$(cat "$work/menu.box" 2>/dev/null)" = "$b" ] && echo "$b"
  echo "$b" > "$work/menu.box"
}
box=$(wait_for 20 menu_shown) || fail "no Background menu after the Background button"
read -r bx0 by0 bx1 by1 <<<"$box"
echo "menu frame from $bx0,$by0 to $bx1,$by1"
# Docked: 5 pixels below the client's top, 5 pixels left of the canvas's right edge.
[ $((by0 - ctop)) -eq 5 ] || fail "the menu stands $((by0 - ctop)) pixels below the top, not 5"
row=$(( (by0 + by1) / 2 ))
right=$(convert "$menu_shot" -crop "$((mx + mw - bx1 > 1 ? mx + mw - bx1 : 1))x1+$((bx1 + 1))+$row" +repage txt:- \
  | awk -v c="#$canvas_colour" 'NR > 1 && index($0, c) { split($1, a, /[,:]/); n++ } END { print n + 0 }')
[ "$right" -eq 5 ] || fail "$right canvas pixels right of the menu, not 5"
# The skin inside the frame: blue panel, yellow labels, white captions.
colours_in_menu() {
  convert "$menu_shot" -crop "$((bx1 - bx0 - 1))x$((by1 - by0 - 1))+$((bx0 + 1))+$((by0 + 1))" +repage txt:- \
    | awk -v c="#$1" 'index($0, c) { n++ } END { print n + 0 }'
}
for c in 429AFC FFFF00 FFFFFF; do
  n=$(colours_in_menu "$c")
  [ "$n" -gt 20 ] || fail "only $n pixels of #$c inside the menu"
done

# A point of the menu given in its template's dialog units (151 x 365).
at_dlu() { echo $((bx0 + $1 * (bx1 - bx0 + 1) / 151)) $((by0 + $2 * (by1 - by0 + 1) / 365)); }
# Help bubble: the pointer rests on Solid (placeholder 2, 18; button 4, 48, 33 x 32).
before_ids=$(xdotool search --onlyvisible --name '' 2>/dev/null | sort)
read -r sx sy <<<"$(at_dlu 22 82)"
xdotool mousemove "$sx" "$sy"
new_window() {
  comm -13 <(echo "$before_ids") <(xdotool search --onlyvisible --name '' 2>/dev/null | sort) | head -1
}
tip=$(wait_for 15 new_window) || fail "no help bubble over Solid"
bubble="$shots/background-solid-bubble.png"
rm -f "$work/painted.sum"
wait_for 10 painted "$tip" "$bubble" >/dev/null || fail "the help bubble never painted"
read -r tx ty tw th <<<"$(window_geometry "$tip")"
echo "help bubble at $tx,$ty, $tw x $th"
[ "$tw" -gt 60 ] && [ "$th" -gt 40 ] || fail "the bubble is only $tw x $th"
# The pointer moves on to a bare part of the panel: the bubble goes.
read -r ex ey <<<"$(at_dlu 75 281)"
xdotool mousemove "$ex" "$ey"
wait_for 15 bash -c "xdotool search --onlyvisible --name '' 2>/dev/null | grep -qx $tip || echo gone" >/dev/null \
  || fail "the bubble stayed after the pointer left Solid"

# Linear (button 39, 48): entry 0 is the file's last line, red into blue.
read -r lx ly <<<"$(at_dlu 57 82)"
click_at "$lx" "$ly"
gradient="$shots/background-linear.png"
count_kind() {   # count_kind <png> <red|blue|mix|green>: pixels of the design row of that kind
  convert "$1" -crop "$((dx1 - dx0 - 3))x1+$((dx0 + 2))+$mid" +repage txt:- | awk -v k="$2" 'NR > 1 {
    gsub(/[()]/, " "); split($0, f, /[ ,:]+/); r = f[3]; g = f[4]; b = f[5];
    if (k == "red" && r > 200 && b < 60 && g < 60) n++;
    if (k == "blue" && b > 200 && r < 60 && g < 60) n++;
    if (k == "mix" && r > 60 && b > 60 && r < 200 && b < 200 && g < 60) n++;
    if (k == "green" && g > 150 && r < 60 && b < 60) n++ } END { print n + 0 }'
}
painted_gradient() {
  kill -0 "$pid" 2>/dev/null || fail "the program ended after Linear"
  shot "$gradient"
  [ "$(count_kind "$gradient" red)" -gt 5 ] && [ "$(count_kind "$gradient" blue)" -gt 5 ] \
    && [ "$(count_kind "$gradient" mix)" -gt 5 ] && echo yes
}
wait_for 20 painted_gradient >/dev/null \
  || fail "no red-into-blue gradient in the design row (red $(count_kind "$gradient" red), blue $(count_kind "$gradient" blue), between $(count_kind "$gradient" mix))"
[ "$(count_kind "$gradient" green)" -eq 0 ] || fail "the first line's green was applied"
[ "$(count_kind "$start" red)" -eq 0 ] || fail "red in the design before Linear"

# The design changed: closing asks; No ends the program.
focus_window "$main"
xdotool key alt+F4
ask=$(wait_dialog '^Save Changes$' "closing did not ask after the fill" "$shots/background-save-changes.png")
focus_window "$ask"
xdotool key Tab space   # from Yes to No
wait_exit "No"
echo "Background menu docked and skinned, bubble over Solid, gradient painted; screenshots in $shots"
