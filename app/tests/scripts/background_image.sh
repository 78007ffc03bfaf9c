#!/bin/bash
# The Background menu's image panel in the real program (layout 2, as it starts): the fill
# panel's quick links lead to it; New shows the file pane alone; a picture clicked in the
# pane is tiled over the design rectangle and brings up the panel's picture controls; a
# file that turned into text after it was listed leaves the picture and shows no box; Back
# while browsing and the quick link again give the normal view; the folder of the picked
# file is the one the program keeps as "IMAGES_DIR".
set -eu   # no pipefail: awk stops reading the pixel lists early
. "$(dirname "$0")/program_lib.sh"

frame_colour=74B8FF   # the menu's one-pixel frame
cp -r "$SL_BINARY_DIR/data/help" "$work/"
# The pictures: a tile of two colours side by side (magenta left, cyan right), large enough
# that the tile, a tenth of its natural size at 150 pixels per inch, is some 20 pixels wide
# on the canvas; and one that is a green picture until the script writes text over it.
pics="$work/pics"
mkdir -p "$pics"
convert -size 400x400 xc:'rgb(0,180,230)' -fill 'rgb(230,0,180)' -draw 'rectangle 0,0 199,399' "PNG24:$pics/a_tile.png"
convert -size 64x64 xc:'rgb(30,200,60)' "PNG24:$pics/b_note.png"
"$SL_BINARY_DIR/wine-run" "$SL_BINARY_DIR/tools/sl_setting.exe" "$(winpath "$work")" path_IMAGES_DIR "$(winpath "$pics")" \
  || fail "could not name the pictures' folder in the settings"

start_program 'Sugarleaf Studio$'
read -r mx my mw mh <<<"$(window_geometry "$main")"

# The home panel's Background button, once the panel shows it.
start="$shots/background-image-start.png"
ready() {
  local top row
  shot "$start"
  top=$(client_top "$start" $((mx + 600)))
  [ -n "$top" ] && row=$(home_button "$start" "$top" 1090) && [ -n "$row" ] && echo "$top $row"
}
found=$(wait_for 30 ready) || fail "the home panel never showed its Background button"
read -r ctop brow <<<"$found"
mid=$((ctop + (my + mh - ctop) / 2))
white_run() {   # white_run <png> <y>: "x0 x1" of the longest run of white
  convert "$1" -crop "${mw}x1+$((mx > 0 ? mx : 0))+$2" +repage txt:- \
    | awk 'NR > 1 { split($1, a, /[,:]/); x = a[1]; if (index($0, "#FFFFFF")) { if (s < 0) s = x; if (x - s > b1 - b0) { b0 = s; b1 = x } } else s = -1 }
           BEGIN { s = -1; b0 = 0; b1 = -1 } END { if (b1 > b0) print b0, b1 }'
}
read -r dx0 dx1 <<<"$(white_run "$start" "$mid")"
[ -n "${dx1:-}" ] || fail "no white design area in the middle row"
echo "design area from $dx0 to $dx1 on row $mid"

click_at $((mx + 40 > 0 ? mx + 40 : 40)) $((ctop + brow + 12))
menu_shot="$shots/background-image-menu.png"
frame_box() { colour_box "$1" "$frame_colour"; }   # frame_box <png>: "x0 y0 x1 y1" of the menu's frame
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

# Points of the menu in its template's dialog units (151 x 365); a panel stands at (2, 18).
at_dlu() { echo $((bx0 + $1 * (bx1 - bx0 + 1) / 151)) $((by0 + $2 * (by1 - by0 + 1) / 365)); }
at_panel() { at_dlu $(($1 + 2)) $(($2 + 18)); }
read -r px0 py0 <<<"$(at_panel 0 0)"
read -r px1 py1 <<<"$(at_panel 147 313)"
pw=$((px1 - px0))
ph=$((py1 - py0))
# Pixels of a colour kind in a rectangle of a picture.
count_in() {   # count_in <png> <x> <y> <w> <h> <kind>
  convert "$1" -crop "${4}x${5}+$2+$3" +repage txt:- | awk -v k="$6" 'NR > 1 {
    gsub(/[()]/, " "); split($0, f, /[ ,:]+/); r = f[3]; g = f[4]; b = f[5];
    if (k == "white" && r == 255 && g == 255 && b == 255) n++;
    if (k == "yellow" && r > 230 && g > 230 && b < 60) n++;
    if (k == "magenta" && r > 200 && g < 40 && b > 150 && b < 210) n++;
    if (k == "cyan" && r < 40 && g > 150 && g < 210 && b > 200) n++;
    if (k == "green" && r < 60 && g > 170 && b > 30 && b < 90) n++;
    if (k == "blue" && r < 60 && g < 60 && b > 200) n++ } END { print n + 0 }'
}
# A check that holds in a screenshot whose menu looks as in the one before (painting done).
settled() {   # settled <png> <check...>: the check on the picture, once the menu has settled
  local png=$1 sum
  shift
  sum=$(convert "$png" -crop "$((bx1 - bx0))x$((by1 - by0))+$bx0+$by0" +repage rgb:- | md5sum)
  if [ "$sum" = "$(cat "$work/settled.sum" 2>/dev/null)" ] && "$@"; then
    rm -f "$work/settled.sum"
    echo yes
  else
    echo "$sum" > "$work/settled.sum"
  fi
}
# The preview area of the image panel: the panel less 1, 85, 1 and 225 pixels.
preview_outline() {   # preview_outline <png>: white pixels down the preview's left edge
  count_in "$1" $((px0 + 1)) $((py0 + 85)) 1 $((ph - 310)) white
}
# White in percent of the pane's place (the panel less its bottom 60 pixels): the pane's tree
# and list are mostly white, the normal view has little white.
pane_white() { echo $(($(count_in "$1" "$px0" "$py0" "$pw" $((ph - 60)) white) * 100 / (pw * (ph - 60)))); }

# The fill panel's quick links (list at 4, 2 in the panel): "14", then "15" in the next row.
read -r lx ly <<<"$(at_panel 4 2)"
click_at $((lx + 40)) $((ly + 26))
panel_shot="$shots/background-image-panel.png"
empty_preview() {
  [ "$(preview_outline "$1")" -gt $(((ph - 310) * 9 / 10)) ] && [ "$(pane_white "$1")" -lt 10 ]
}
image_panel() {
  kill -0 "$pid" 2>/dev/null || fail "the program ended after the quick link"
  shot "$panel_shot"
  settled "$panel_shot" empty_preview "$panel_shot"
}
wait_for 20 image_panel >/dev/null || fail "the quick link \"15\" showed no image panel with an empty preview"
# Without a picture the value texts are hidden and the size bar's thumb is pale.
read -r vx vy <<<"$(at_panel 116 212)"
read -r sbx sby <<<"$(at_panel 54 224)"
values_before=$(count_in "$panel_shot" "$vx" "$vy" 40 16 yellow)
thumb_before=$(count_in "$panel_shot" "$sbx" "$sby" $((pw - sbx + px0 - 4)) 16 blue)
[ "$values_before" -eq 0 ] || fail "value texts shown without a picture ($values_before yellow pixels)"

# New: the file pane alone, its list white.
new_button() { read -r nx ny <<<"$(at_panel 54 192)"; click_at "$nx" "$ny"; }
new_button
browse_shot="$shots/background-image-browsing.png"
browsing() {
  shot "$browse_shot"
  [ "$(pane_white "$browse_shot")" -gt 40 ] && echo yes
}
wait_for 20 browsing >/dev/null || fail "New showed no file pane"
# A thumbnail in the pane: the box of its colour.
thumb_box() {   # thumb_box <png> <kind>: "x y" of the middle of that colour in the pane
  convert "$1" -crop "${pw}x$((ph - 60))+$px0+$py0" +repage txt:- | awk -v k="$2" -v ox="$px0" -v oy="$py0" 'NR > 1 {
    gsub(/[()]/, " "); split($0, f, /[ ,:]+/); x = f[1]; y = f[2]; r = f[3]; g = f[4]; b = f[5];
    hit = (k == "magenta" && r > 200 && g < 40 && b > 150) || (k == "green" && r < 60 && g > 170 && b < 90);
    if (hit) { if (n == 0 || x < x0) x0 = x; if (n == 0 || y < y0) y0 = y; if (x > x1) x1 = x; if (y > y1) y1 = y; n++ } }
    END { if (n > 20) print ox + int((x0 + x1) / 2), oy + int((y0 + y1) / 2) }'
}
shown_thumb() { shot "$work/thumbs.png"; thumb_box "$work/thumbs.png" "$1"; }
tile_at=$(wait_for 30 shown_thumb magenta) || fail "the tile's thumbnail never showed in the pane"
read -r tx ty <<<"$tile_at"
click_at "$tx" "$ty"

# The picture tiled over the design: both colours, many times along the middle row.
tiled="$shots/background-image-tiled.png"
stripes() {   # stripes <png>: colour changes between magenta and cyan along the design row
  convert "$1" -crop "$((dx1 - dx0 - 3))x1+$((dx0 + 2))+$mid" +repage txt:- | awk 'NR > 1 {
    gsub(/[()]/, " "); split($0, f, /[ ,:]+/); r = f[3]; g = f[4]; b = f[5];
    c = (r > 200 && g < 40 && b > 150) ? "m" : ((r < 40 && g > 150 && b > 200) ? "c" : "");
    if (c != "" && c != last) { if (last != "") n++; last = c } } END { print n + 0 }'
}
tiles_shown() { [ "$(stripes "$1")" -ge 4 ] && [ "$(pane_white "$1")" -lt 10 ]; }
painted_tiles() {
  kill -0 "$pid" 2>/dev/null || fail "the program ended after the pick"
  shot "$tiled"
  settled "$tiled" tiles_shown "$tiled"
}
wait_for 30 painted_tiles >/dev/null || fail "the picked picture was not tiled over the design ($(stripes "$tiled") colour changes)"
magenta=$(count_in "$tiled" "$dx0" "$ctop" $((dx1 - dx0)) $((my + mh - ctop)) magenta)
cyan=$(count_in "$tiled" "$dx0" "$ctop" $((dx1 - dx0)) $((my + mh - ctop)) cyan)
echo "tiled: $(stripes "$tiled") colour changes on the middle row, $magenta magenta and $cyan cyan pixels"
[ "$magenta" -gt 500 ] && [ "$cyan" -gt 500 ] || fail "too little of the texture in the design"
[ "$(stripes "$start")" -eq 0 ] || fail "the texture was there before the pick"
# The picture's controls: value texts shown, the bar's thumb in full colour; the preview
# shows the picture.
values_after=$(count_in "$tiled" "$vx" "$vy" 40 16 yellow)
thumb_after=$(count_in "$tiled" "$sbx" "$sby" $((pw - sbx + px0 - 4)) 16 blue)
echo "value texts: $values_before -> $values_after yellow pixels; size bar thumb: $thumb_before -> $thumb_after blue"
[ "$values_after" -gt 5 ] || fail "no value texts after the pick"
[ "$thumb_after" -gt $((thumb_before + 10)) ] || fail "the size bar looks as disabled as before"
preview_picture=$(count_in "$tiled" "$px0" $((py0 + 85)) "$pw" $((ph - 310)) magenta)
[ "$preview_picture" -gt 200 ] || fail "the preview does not show the picture ($preview_picture pixels)"

# A file that turned into text after the pane listed it: the picture stays, no box.
before_ids=$(xdotool search --onlyvisible --name '' 2>/dev/null | sort)
new_window() {
  comm -13 <(echo "$before_ids") <(xdotool search --onlyvisible --name '' 2>/dev/null | sort) | head -1
}
new_button
wait_for 20 browsing >/dev/null || fail "New showed no file pane the second time"
note_at=$(wait_for 30 shown_thumb green) || fail "the second picture's thumbnail never showed"
printf 'not a picture\n' > "$pics/b_note.png"
read -r tx ty <<<"$note_at"
click_at "$tx" "$ty"
kept="$shots/background-image-text-picked.png"
back_to_normal() {
  kill -0 "$pid" 2>/dev/null || fail "the program ended after the text file"
  shot "$kept"
  settled "$kept" tiles_shown "$kept"
}
wait_for 30 back_to_normal >/dev/null || fail "the pane stayed or the picture went after the text file was picked"
[ -z "$(new_window)" ] || fail "a window showed after the text file was picked"
[ "$(count_in "$kept" "$vx" "$vy" 40 16 yellow)" -gt 5 ] || fail "the picture's controls went after the text file"

# Back while browsing, then the quick link "15" again: the normal view, not the pane.
new_button
wait_for 20 browsing >/dev/null || fail "New showed no file pane the third time"
read -r bbx bby <<<"$(at_dlu 26 346)"
click_at "$bbx" "$bby"
fill_again() {
  shot "$work/fill.png"
  [ "$(pane_white "$work/fill.png")" -lt 10 ] && [ "$(preview_outline "$work/fill.png")" -lt 50 ] && echo yes
}
wait_for 20 fill_again >/dev/null || fail "Back while browsing did not show the fill panel"
click_at $((lx + 40)) $((ly + 26))
normal="$shots/background-image-normal-again.png"
picture_preview() {
  [ "$(pane_white "$1")" -lt 10 ] && [ "$(count_in "$1" "$px0" $((py0 + 85)) "$pw" $((ph - 310)) magenta)" -gt 200 ]
}
normal_view() {
  shot "$normal"
  settled "$normal" picture_preview "$normal"
}
wait_for 20 normal_view >/dev/null || fail "coming back to the image panel did not show its normal view"

# The design changed: closing asks (a new window, which the check above would have seen);
# No ends the program, which keeps the pictures' folder.
focus_window "$main"
xdotool key alt+F4
ask=$(wait_dialog '^Save Changes$' "closing did not ask after the picture" "$shots/background-image-save-changes.png")
[ -n "$(new_window)" ] || fail "the window check does not see the new question window"
focus_window "$ask"
xdotool key Tab space   # from Yes to No
wait_exit "No"
kept_folder=$("$SL_BINARY_DIR/wine-run" "$SL_BINARY_DIR/tools/sl_setting.exe" "$(winpath "$work")" path_IMAGES_DIR | tr -d '\r')
want=$(winpath "$pics")
[ "$(echo "${kept_folder%\\}" | tr 'A-Z' 'a-z')" = "$(echo "${want%\\}" | tr 'A-Z' 'a-z')" ] \
  || fail "IMAGES_DIR is '$kept_folder', not the picked folder '$want'"
echo "image panel: quick link, pane, tiled picture, kept picture, normal view; IMAGES_DIR $kept_folder; screenshots in $shots"
