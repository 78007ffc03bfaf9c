#!/bin/bash
# The design wizard of the real program: the home panel's New button shows it with layout 2
# chosen, Finish on and Next off, every thumbnail a drawn sheet; resting on a thumbnail
# shows that layout's tip bubble; Finish at once gives "Untitled - Sugarleaf Studio" and
# the Background menu; with the design then changed, New asks "Save Changes" first and
# Cancel there opens no wizard.
set -eu   # no pipefail: awk stops reading the pixel lists early
. "$(dirname "$0")/program_lib.sh"

frame_colour=74B8FF   # the Background menu's one-pixel frame
cp -r "$SL_BINARY_DIR/data/help" "$work/"

start_program 'Sugarleaf Studio$'
read -r mx my mw mh <<<"$(window_geometry "$main")"

# The home panel's New button, once the panel shows it.
start="$shots/wizard-start.png"
ready() {
  local top row
  shot "$start"
  top=$(client_top "$start" $((mx + 600)))
  [ -n "$top" ] && row=$(home_button "$start" "$top" 1027) && [ -n "$row" ] && echo "$top $row"
}
found=$(wait_for 30 ready) || fail "the home panel never showed its New button"
read -r ctop nrow <<<"$found"
new_x=$((mx + 40 > 0 ? mx + 40 : 40))
new_y=$((ctop + nrow + 12))

click_at "$new_x" "$new_y"
wiz=$(wait_dialog '^Design Wizard$' "New showed no wizard" "$shots/wizard-shape-page.png")
read -r wx wy ww wh <<<"$(window_geometry "$wiz")"
echo "wizard at $wx,$wy, $ww x $wh"
# Every thumbnail is a drawn sheet: the sheet's grey F8F8F8 and the cells' black outlines.
sheet_pixels=$(convert "$shots/wizard-shape-page.png" -crop "${ww}x${wh}+$wx+$wy" +repage txt:- \
  | awk 'index($0, "#F8F8F8") { n++ } END { print n + 0 }')
[ "$sheet_pixels" -gt 2000 ] || fail "only $sheet_pixels sheet pixels in the wizard's thumbnails"

# A point of the wizard in its template's dialog units (484 x 314 in the client, which lies
# inside a 3-pixel border under the caption): a dialog unit is a quarter of the font's mean
# width across and an eighth of its height down (6 and 13 pixels here).
cw=$((ww - 6))
ch=$((314 * cw * 13 / (484 * 12)))
cx0=$((wx + 3))
cy0=$((wy + wh - 3 - ch))
at_dlu() { echo $((cx0 + $1 * cw / 484)) $((cy0 + $2 * ch / 314)); }
# The tip of the first thumbnail (list 1185 at 122, 4): the pointer rests on its picture.
before_ids=$(xdotool search --onlyvisible --name '' 2>/dev/null | sort)
# The first icon stands centred in its 255-pixel cell: (255 - 140) / 2 in, 2 down.
read -r lx ly <<<"$(at_dlu 122 4)"
tx=$((lx + 57 + 70))
ty=$((ly + 2 + 60))
xdotool mousemove $((tx - 10)) $((ty - 10)) sleep 0.2 mousemove "$tx" "$ty"
new_window() {
  comm -13 <(echo "$before_ids") <(xdotool search --onlyvisible --name '' 2>/dev/null | sort) | head -1
}
tip=$(wait_for 15 new_window) || fail "no tip bubble over the first thumbnail"
rm -f "$work/painted.sum"
wait_for 10 painted "$tip" "$shots/wizard-thumbnail-tip.png" >/dev/null || fail "the tip bubble never painted"
read -r bx by bw bh <<<"$(window_geometry "$tip")"
echo "tip bubble at $bx,$by, $bw x $bh"
[ "$bw" -gt 60 ] && [ "$bh" -gt 40 ] || fail "the tip bubble is only $bw x $bh"

# Finish at once (the template's 350, 292, 60 x 16).
read -r fx fy <<<"$(at_dlu 380 300)"
click_at "$fx" "$fy"
wait_no_window 20 '^Design Wizard$' || fail "Finish did not end the wizard"
wait_window 15 '^Untitled - Sugarleaf Studio$' >/dev/null || fail "the title is not 'Untitled - Sugarleaf Studio'"
menu_shot="$shots/wizard-background-menu.png"
menu_shown() {
  kill -0 "$pid" 2>/dev/null || fail "the program ended after Finish"
  shot "$menu_shot"
  colour_box "$menu_shot" "$frame_colour"
}
wait_for 20 menu_shown >/dev/null || fail "no Background menu after the wizard's Finish"

# The Background menu has marked the design changed: New asks first, and Cancel opens no wizard.
click_at "$new_x" "$new_y"
ask=$(wait_dialog '^Save Changes$' "New did not ask about the changed design" "$shots/wizard-save-changes.png")
answer_dialog "$ask" '^Save Changes$' Escape
if wait_window 3 '^Design Wizard$' >/dev/null; then
  fail "a wizard opened after Cancel"
fi

focus_window "$main"
xdotool key alt+F4
ask=$(wait_dialog '^Save Changes$' "closing did not ask about the changed design")
focus_window "$ask"
xdotool key Tab space   # from Yes to No
wait_exit "No"
echo "wizard shown and finished, tip bubble, Background menu, question before New; screenshots in $shots"
