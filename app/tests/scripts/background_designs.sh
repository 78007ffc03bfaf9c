#!/bin/bash
# The Background menu of the real program over a sheet of ten cells with designs of their
# own (layout 10, each cell a colour of its own, cell 0 with a red image): the menu opens on
# the design selection panel, whose sheet shows every cell; a click on the third cell puts
# that cell's design on the canvas; on the clone panel, Clone at once shows a message and
# changes nothing; destination cell 1 and Clone then put cell 0's design (colour and
# image) on the canvas as cell 1, with the menu still there.
set -eu   # no pipefail: awk stops reading the pixel lists early
. "$(dirname "$0")/program_lib.sh"

frame_colour=74B8FF   # the menu's one-pixel frame, RGB(116, 184, 255)
cell_colour() { printf '%02X%02X%02X' $((20 * $1 + 10)) 100 $((230 - 20 * $1)); }   # cell_colour <k>
"$SL_BINARY_DIR/wine-run" "$SL_BINARY_DIR/tools/sl_design.exe" write-cells "$(winpath "$work/cells.ktb")" \
  || fail "sl_design wrote no design"
start_program "$(design_title "$work/cells.ktb")" "$(winpath "$work/cells.ktb")"
read -r mx my mw mh <<<"$(window_geometry "$main")"

# The pixels of one colour in a box of a picture, white on black.
mask_in() {   # mask_in <png> <RRGGBB> <x0> <y0> <x1> <y1> <format>
  convert "$1" -crop "$(($5 - $3 + 1))x$(($6 - $4 + 1))+$3+$4" +repage \
    -fill black +opaque "#$2" -fill white -opaque "#$2" -format "$7" info:
}
# How many pixels of the colour the box holds.
count_in() { mask_in "$@" '%[fx:round(mean*w*h)]'; }   # count_in <png> <RRGGBB> <x0> <y0> <x1> <y1>
# Bounding box "x0 y0 x1 y1" of the colour in the box; nothing when absent.
box_in() {   # box_in <png> <RRGGBB> <x0> <y0> <x1> <y1>
  [ "$(count_in "$@")" -gt 0 ] || return 0
  mask_in "$@" '%@' | tr 'x+' '  ' | awk -v ox="$3" -v oy="$4" '{ print $3 + ox, $4 + oy, $3 + ox + $1 - 1, $4 + oy + $2 - 1 }'
}

start="$shots/designs-start.png"
ready() {
  local top row
  shot "$start"
  top=$(client_top "$start" $((mx + 1000)))
  [ -n "$top" ] && row=$(home_button "$start" "$top" 1090) && [ -n "$row" ] && echo "$top $row"
}
found=$(wait_for 30 ready) || fail "the home panel never showed its Background button"
read -r ctop brow <<<"$found"
click_at $((mx + 40 > 0 ? mx + 40 : 40)) $((ctop + brow + 12))

# The menu: its frame's box once it stands still, and the design selection sheet in it.
frame_box() {   # frame_box <png>: the box of the frame colour, when it is a frame's worth
  local w h
  read -r w h <<<"$(identify -format '%w %h' "$1")"
  # Right of the home panel, whose buttons are framed in the same colour.
  [ "$(count_in "$1" "$frame_colour" $((mx + 120)) 0 $((w - 1)) $((h - 1)))" -gt 100 ] || return 0
  box_in "$1" "$frame_colour" $((mx + 120)) 0 $((w - 1)) $((h - 1))
}
menu_shot="$shots/designs-menu.png"
menu_shown() {
  local b
  kill -0 "$pid" 2>/dev/null || fail "the program ended after the Background button"
  shot "$menu_shot"
  b=$(frame_box "$menu_shot")
  [ -n "$b" ] && [ "$(cat "$work/menu.box" 2>/dev/null)" = "$b" ] && echo "$b"
  echo "$b" > "$work/menu.box"
}
box=$(wait_for 20 menu_shown) || fail "no Background menu after the Background button"
read -r bx0 by0 bx1 by1 <<<"$box"
echo "menu frame from $bx0,$by0 to $bx1,$by1"
# The canvas: the client area left of the menu, right of the home panel.
cx0=$((mx + 130 > 0 ? mx + 130 : 130))
canvas_count() { count_in "$1" "$(cell_colour "$2")" "$cx0" "$ctop" $((bx0 - 6)) $((my + mh - 2)); }   # <png> <k>
sheet_cells() {   # sheet_cells <png>: the number of cells whose colour shows in the menu
  local k n=0
  for k in 0 1 2 3 4 5 6 7 8 9; do
    [ "$(count_in "$1" "$(cell_colour "$k")" "$bx0" "$by0" "$bx1" "$by1")" -gt 20 ] && n=$((n + 1))
  done
  echo "$n"
}
sheet_shown() { shot "$menu_shot"; [ "$(sheet_cells "$menu_shot")" -eq 10 ] && echo yes; }
wait_for 15 sheet_shown >/dev/null || fail "the design selection sheet shows $(sheet_cells "$menu_shot") of 10 cells"
[ "$(canvas_count "$menu_shot" 0)" -gt 10000 ] || fail "the canvas does not show cell 0's colour"

# The third cell of the sheet: the centre of its colour in the menu.
read -r x0 y0 x1 y1 <<<"$(box_in "$menu_shot" "$(cell_colour 2)" "$bx0" "$by0" "$bx1" "$by1")"
click_at $(((x0 + x1) / 2)) $(((y0 + y1) / 2))
third="$shots/designs-third-cell.png"
canvas_is() { shot "$2"; [ "$(canvas_count "$2" "$1")" -gt 10000 ] && echo yes; }   # canvas_is <k> <png>
wait_for 15 canvas_is 2 "$third" >/dev/null || fail "the canvas did not switch to the third cell"
[ "$(canvas_count "$third" 0)" -lt 100 ] || fail "cell 0's colour stayed on the canvas"
[ -n "$(frame_box "$third")" ] || fail "the Background menu went with the switch"

# The quick link "Clone": the last of the four entries (list 4, 2, 139 x 42 in the panel at
# 2, 18 of the menu's 151 x 365 dialog units; one entry a line of the bold 16-pixel font).
at_dlu() { echo $((bx0 + $1 * (bx1 - bx0 + 1) / 151)) $((by0 + $2 * (by1 - by0 + 1) / 365)); }
read -r lx ly <<<"$(at_dlu 40 20)"
click_at "$lx" $((ly + 2 + 3 * 16 + 8))
clone_shot="$shots/designs-clone-panel.png"
# The clone panel: two sheets of ten cells each.
two_sheets() {
  local k n=0
  shot "$clone_shot"
  for k in 0 1 2 3 4 5 6 7 8 9; do
    [ "$(count_in "$clone_shot" "$(cell_colour "$k")" "$bx0" $(((by0 + by1) / 2)) "$bx1" "$by1")" -gt 10 ] && n=$((n + 1))
  done
  [ "$n" -ge 9 ] && echo "$n"   # (the destination's cell 2 may wear the selection frame only)
}
wait_for 15 two_sheets >/dev/null || fail "the clone panel's destination sheet did not show"

# Clone at once: both sheets are on cell 0, so the message comes and nothing changes.
read -r kx ky <<<"$(at_dlu 122 305)"
click_at "$kx" "$ky"
msg=$(wait_dialog '^Sugarleaf Studio$' "Clone at once showed no message" "$shots/designs-clone-refused.png")
answer_dialog "$msg" '^Sugarleaf Studio$' Return
shot "$work/after-refusal.png"
[ "$(canvas_count "$work/after-refusal.png" 2)" -gt 10000 ] || fail "the refused clone changed the canvas"

# Destination cell 1 (in the lower sheet), then Clone: cell 1 shows cell 0's design.
read -r x0 y0 x1 y1 <<<"$(box_in "$clone_shot" "$(cell_colour 1)" "$bx0" $(((by0 + by1) / 2)) "$bx1" "$by1")"
[ -n "${y1:-}" ] || fail "no cell 1 in the destination sheet"
click_at $(((x0 + x1) / 2)) $(((y0 + y1) / 2))
shot "$work/after-destination.png"
[ "$(canvas_count "$work/after-destination.png" 2)" -gt 10000 ] || fail "a destination click changed the canvas"
click_at "$kx" "$ky"
done_shot="$shots/designs-cloned.png"
cloned() {
  shot "$done_shot"
  [ "$(canvas_count "$done_shot" 0)" -gt 10000 ] && [ "$(count_in "$done_shot" C82828 "$cx0" "$ctop" $((bx0 - 6)) $((my + mh - 2)))" -gt 10000 ] && echo yes
}
wait_for 15 cloned >/dev/null || fail "the canvas does not show cell 0's colour and image after Clone"
[ -n "$(frame_box "$done_shot")" ] || fail "the Background menu went with the clone"

focus_window "$main"
xdotool key alt+F4
ask=$(wait_dialog '^Save Changes$' "closing did not ask after the clone")
focus_window "$ask"
xdotool key Tab space   # from Yes to No
wait_exit "No"
echo "design selection sheet, third cell on the canvas, clone refused then copied; screenshots in $shots"
