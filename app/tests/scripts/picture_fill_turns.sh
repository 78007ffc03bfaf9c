#!/bin/bash
# Turned picture fills and a translucent radial fill in the real program, as a person sets
# them: the Background menu's Radial with a swatch of red corners and a blue centre, its
# transparency bar down to 27% (the centre turns mostly red); a picture of two upright
# stripes tiled as the background, its angle dial turned to 42 degrees (the stripes run
# slanted: colour changes down a column, none before); then frame style 3 filled with the
# same picture on the Frame menu's picture fill panel, its dial turned to 86 degrees (the
# stripes lie across the left band of the frame).
set -eu   # no pipefail: awk stops reading the pixel lists early
. "$(dirname "$0")/program_lib.sh"

frame_colour=74B8FF   # the menus' one-pixel frame
cp -r "$SL_BINARY_DIR/data/help" "$work/"
# One swatch: colours 1, 2, 5, 3, 4 in the file's order: red corners, blue centre.
mkdir -p "$work/swatches"
printf '255,0,0,255,0,0,0,0,255,255,0,0,255,0,0\r\n' > "$work/swatches/swatches.txt"
# The picture: magenta left half, cyan right half.
pics="$work/pics"
mkdir -p "$pics"
convert -size 400x400 xc:'rgb(0,180,230)' -fill 'rgb(230,0,180)' -draw 'rectangle 0,0 199,399' "PNG24:$pics/a_tile.png"
"$SL_BINARY_DIR/wine-run" "$SL_BINARY_DIR/tools/sl_setting.exe" "$(winpath "$work")" path_IMAGES_DIR "$(winpath "$pics")" \
  || fail "could not name the pictures' folder in the settings"

start_program 'Sugarleaf Studio$'
read -r mx my mw mh <<<"$(window_geometry "$main")"
start="$shots/turns-start.png"
ready() {
  local top bg fr
  shot "$start"
  top=$(client_top "$start" $((mx + 600)))
  [ -n "$top" ] && bg=$(home_button "$start" "$top" 1090) && fr=$(home_button "$start" "$top" 1040) \
    && [ -n "$bg" ] && [ -n "$fr" ] && echo "$top $bg $fr"
}
found=$(wait_for 30 ready) || fail "the home panel never showed its Background and Frame buttons"
read -r ctop brow frow <<<"$found"
mid=$((ctop + (my + mh - ctop) / 2))
read -r dx0 dx1 <<<"$(white_run "$start" "$mid")"
[ -n "${dx1:-}" ] || fail "no white design area in the middle row"
cx=$(((dx0 + dx1) / 2))
read -r dy0 dy1 <<<"$(column_run "$start" "$cx")"
[ -n "${dy1:-}" ] || fail "no white design area in the middle column"
cy=$(((dy0 + dy1) / 2))
echo "design rectangle from $dx0,$dy0 to $dx1,$dy1"

# A menu shown by a home panel button: its frame's box once two screenshots agree.
menu_box() {   # menu_box <png>
  local b
  kill -0 "$pid" 2>/dev/null || fail "the program ended"
  shot "$1"
  b=$(colour_box "$1" "$frame_colour")
  [ -n "$b" ] && [ "$(cat "$work/menu.box" 2>/dev/null)" = "$b" ] && echo "$b"
  echo "$b" > "$work/menu.box"
}
# Points of a menu in its template's dialog units (151 x 365); a panel stands at (2, 18).
at_dlu() { echo $((bx0 + $1 * (bx1 - bx0 + 1) / 151)) $((by0 + $2 * (by1 - by0 + 1) / 365)); }
at_panel() { at_dlu $(($1 + 2)) $(($2 + 18)); }
dlu_x() { echo $(($1 * (bx1 - bx0 + 1) / 151)); }   # a width in dialog units, in pixels
# The centre of a dial's grey face in a picture, near an estimate: the middle of its left
# and right edges, on the rows where the face is widest (the knob may hide its top and the
# control's edge cut its bottom).
dial_centre() {   # dial_centre <png> <x> <y>
  convert "$1" -crop "90x90+$(($2 - 45))+$(($3 - 45))" +repage txt:- | awk -v ox=$(($2 - 45)) -v oy=$(($3 - 45)) 'NR > 1 {
    gsub(/[()]/, " "); split($0, f, /[ ,:]+/); x = f[1]; y = f[2]; r = f[3]; g = f[4]; b = f[5];
    if (r > 150 && r < 245 && g >= r && g - r < 12 && b >= g && b - g < 14) {
      if (!(y in lo) || x < lo[y]) lo[y] = x; if (!(y in hi) || x > hi[y]) hi[y] = x; n++ } }
    END { if (n < 200) exit; for (y in lo) if (hi[y] - lo[y] > wide) wide = hi[y] - lo[y];
      for (y in lo) if (hi[y] - lo[y] >= wide - 1) { sx += lo[y] + hi[y]; sy += y; k++ }
      print ox + int(sx / (2 * k) + 0.5), oy + int(sy / k + 0.5) }'
}
# Turns a dial to a number of degrees as a person does: the knob dragged straight up (held
# at the face, the pointer carried 300 pixels above the centre, where a pixel either side
# is a fifth of a degree, so the dial reads 0), then the Right key once a degree.
turn_dial() {   # turn_dial <png> <estimated centre x> <estimated centre y> <degrees>
  local x y
  read -r x y <<<"$(dial_centre "$1" "$2" "$3")"
  [ -n "${y:-}" ] || fail "no dial face near $2,$3"
  drag_mouse "$x" "$y" 1 -300 8
  xdotool key --delay 40 $(for i in $(seq "$4"); do printf 'Right '; done)
}
# Pixels of a colour kind in a rectangle of a picture.
count_in() {   # count_in <png> <x> <y> <w> <h> <kind>
  convert "$1" -crop "${4}x${5}+$2+$3" +repage txt:- | awk -v k="$6" 'NR > 1 {
    gsub(/[()]/, " "); split($0, f, /[ ,:]+/); r = f[3]; g = f[4]; b = f[5];
    if (k == "magenta" && r > 200 && g < 40 && b > 150 && b < 210) n++;
    if (k == "cyan" && r < 40 && g > 150 && g < 210 && b > 200) n++ } END { print n + 0 }'
}
# Changes between magenta and cyan along a line of a picture.
stripes() {   # stripes <png> <x> <y> <w> <h>
  convert "$1" -crop "${4}x${5}+$2+$3" +repage txt:- | awk 'NR > 1 {
    gsub(/[()]/, " "); split($0, f, /[ ,:]+/); r = f[3]; g = f[4]; b = f[5];
    c = (r > 200 && g < 40 && b > 150) ? "m" : ((r < 40 && g > 150 && b > 200) ? "c" : "");
    if (c != "" && c != last) { if (last != "") n++; last = c } } END { print n + 0 }'
}
rgb_at() { convert "$1" -format "%[fx:int(255*p{$2,$3}.r)] %[fx:int(255*p{$2,$3}.g)] %[fx:int(255*p{$2,$3}.b)]" info:; }
# A check on a screenshot taken once the design looks as in the one before (settled).
settled_shot() {   # settled_shot <png> <check...>
  local png=$1 sum
  shift
  kill -0 "$pid" 2>/dev/null || fail "the program ended"
  shot "$png"
  sum=$(convert "$png" -crop "$((dx1 - dx0))x$((dy1 - dy0))+$dx0+$dy0" +repage rgb:- | md5sum)
  if [ "$sum" = "$(cat "$work/settled.sum" 2>/dev/null)" ] && "$@" "$png"; then
    rm -f "$work/settled.sum"
    echo yes
  else
    echo "$sum" > "$work/settled.sum"
  fi
}

# --- Background: Radial, then the transparency bar down to 27% ------------------------------
click_at $((mx + 40 > 0 ? mx + 40 : 40)) $((ctop + brow + 12))
box=$(wait_for 20 menu_box "$work/menu.png") || fail "no Background menu after the Background button"
read -r bx0 by0 bx1 by1 <<<"$box"
read -r rx ry <<<"$(at_panel 90 64)"
click_at "$rx" "$ry"
# Opaque: the centre shows the blue centre colour.
blue_centre() { read -r r g b <<<"$(rgb_at "$1" "$cx" "$cy")"; [ "$b" -gt 220 ] && [ "$r" -lt 40 ]; }
wait_for 20 settled_shot "$shots/turns-radial-100.png" blue_centre >/dev/null \
  || fail "Radial did not paint a blue centre ($(rgb_at "$shots/turns-radial-100.png" "$cx" "$cy"))"
read -r tx ty <<<"$(at_panel 4 147)"
# One click a step on the bar's left arrow, each a few pixels from the one before, so that
# no two make a double click.
steps=()
for i in $(seq 73); do steps+=(mousemove $((tx + 3 + 6 * (i % 2))) "$ty" click 1 sleep 0.05); done
xdotool "${steps[@]}"
# 27%: the centre is 73% red and 27% blue.
red_centre() { read -r r g b <<<"$(rgb_at "$1" "$cx" "$cy")"; [ "$r" -gt 170 ] && [ "$r" -lt 202 ] && [ "$b" -gt 53 ] && [ "$b" -lt 85 ]; }
wait_for 30 settled_shot "$shots/turns-radial-27.png" red_centre >/dev/null \
  || fail "the radial fill at 27% shows $(rgb_at "$shots/turns-radial-27.png" "$cx" "$cy") at the centre, not about 186 0 69"
echo "radial: centre $(rgb_at "$shots/turns-radial-100.png" "$cx" "$cy") at 100%, $(rgb_at "$shots/turns-radial-27.png" "$cx" "$cy") at 27%"

# --- Background picture turned to 42 degrees -------------------------------------------------
read -r lx ly <<<"$(at_panel 4 2)"
click_at $((lx + 40)) $((ly + 26))   # quick link "15": the image panel
read -r nx ny <<<"$(at_panel 54 192)"
read -r px0 py0 <<<"$(at_panel 0 0)"
read -r px1 py1 <<<"$(at_panel 147 313)"
thumb_at() {   # thumb_at: "x y" of the tile's thumbnail in the file pane
  shot "$work/thumbs.png"
  convert "$work/thumbs.png" -crop "$((px1 - px0))x$((py1 - py0 - 60))+$px0+$py0" +repage txt:- \
    | awk -v ox="$px0" -v oy="$py0" 'NR > 1 { gsub(/[()]/, " "); split($0, f, /[ ,:]+/);
      if (f[3] > 200 && f[4] < 40 && f[5] > 150) { if (n == 0 || f[1] < x0) x0 = f[1]; if (n == 0 || f[2] < y0) y0 = f[2];
        if (f[1] > x1) x1 = f[1]; if (f[2] > y1) y1 = f[2]; n++ } }
      END { if (n > 20) print ox + int((x0 + x1) / 2), oy + int((y0 + y1) / 2) }'
}
pick_tile() {   # pick_tile <New x> <New y>: New, then a click on the tile's thumbnail
  local at tx ty
  rm -f "$work/menu.box"
  wait_for 20 menu_box "$work/panel.png" >/dev/null || fail "the panel never settled before New"
  click_at "$1" "$2"
  at=$(wait_for 30 thumb_at) || fail "the tile's thumbnail never showed in the file pane"
  read -r tx ty <<<"$at"
  click_at "$tx" "$ty"
}
pick_tile "$nx" "$ny"
w=$((dx1 - dx0)); h=$((dy1 - dy0))
down_column() { stripes "$1" $((cx - w / 4)) $((dy0 + 4)) 1 $((h - 8)); }
along_row() { stripes "$1" $((dx0 + 4)) $((cy + h / 7)) $((w - 8)) 1; }
upright() { [ "$(along_row "$1")" -ge 4 ] && [ "$(down_column "$1")" -eq 0 ]; }
wait_for 30 settled_shot "$shots/turns-background-0.png" upright >/dev/null \
  || fail "the picture was not tiled upright (row $(along_row "$shots/turns-background-0.png"), column $(down_column "$shots/turns-background-0.png") changes)"
read -r dcx dty <<<"$(at_panel 27 224)"
turn_dial "$shots/turns-background-0.png" "$dcx" $((dty + $(dlu_x 23))) 42
slanted() {
  [ "$(down_column "$1")" -ge 4 ] && [ "$(along_row "$1")" -ge 4 ] \
    && [ "$(count_in "$1" "$dx0" "$dy0" "$w" "$h" magenta)" -gt 2000 ] && [ "$(count_in "$1" "$dx0" "$dy0" "$w" "$h" cyan)" -gt 2000 ]
}
wait_for 30 settled_shot "$shots/turns-background-42.png" slanted >/dev/null \
  || fail "the picture turned to 42 degrees does not show slanted stripes (row $(along_row "$shots/turns-background-42.png"), column $(down_column "$shots/turns-background-42.png") changes)"
echo "background picture at 42 degrees: $(along_row "$shots/turns-background-42.png") changes along a row, $(down_column "$shots/turns-background-42.png") down a column"

# --- Frame style 3 filled with the picture, turned to 86 degrees ------------------------------
rm -f "$work/menu.box"
click_at $((mx + 40 > 0 ? mx + 40 : 40)) $((ctop + frow + 12))
# The Frame menu docks where the Background menu stood: it is told by its style
# thumbnails' gold.
frame_menu() {
  local b
  b=$(menu_box "$shots/turns-frame-menu.png") && [ -n "$b" ] \
    && [ "$(convert "$shots/turns-frame-menu.png" txt:- | awk 'index($0, "#D4A020") { n++ } END { print n + 0 }')" -gt 200 ] \
    && echo "$b"
}
fbox=$(wait_for 20 frame_menu) || fail "no Frame menu after the Frame button"
read -r bx0 by0 bx1 by1 <<<"$fbox"
read -r sx sy <<<"$(at_dlu 3 94)"
click_at $((sx + 2 * 65 + 34)) $((sy + 28))   # style 3
read -r qx qy <<<"$(at_panel 4 14)"
click_at $((qx + 40)) $((qy + 40))   # quick link "56": the picture fill panel
read -r nx ny <<<"$(at_panel 20 295)"
pick_tile "$nx" "$ny"
# The left band of the frame: a column 5 pixels inside the design's left edge.
band_column() { stripes "$1" $((dx0 + 5)) $((dy0 + 20)) 1 $((h - 40)); }
band_tiles() { [ "$(count_in "$1" "$dx0" "$dy0" 30 "$h" magenta)" -gt 100 ] || [ "$(count_in "$1" "$dx0" "$dy0" 30 "$h" cyan)" -gt 100 ]; }
upright_band() { band_tiles "$1" && [ "$(band_column "$1")" -eq 0 ]; }
wait_for 30 settled_shot "$shots/turns-frame-0.png" upright_band >/dev/null \
  || fail "the frame's picture fill is not upright in its left band ($(band_column "$shots/turns-frame-0.png") changes)"
read -r dcx dty <<<"$(at_panel 73 238)"
turn_dial "$shots/turns-frame-0.png" "$dcx" $((dty + $(dlu_x 21))) 86
across_band() { band_tiles "$1" && [ "$(band_column "$1")" -ge 6 ]; }
wait_for 30 settled_shot "$shots/turns-frame-86.png" across_band >/dev/null \
  || fail "the frame's picture fill turned to 86 degrees does not cross its left band ($(band_column "$shots/turns-frame-86.png") changes)"
echo "frame picture fill at 86 degrees: $(band_column "$shots/turns-frame-86.png") changes down the left band"

# The design changed: closing asks; No ends the program.
focus_window "$main"
xdotool key alt+F4
ask=$(wait_dialog '^Save Changes$' "closing did not ask after the fills")
focus_window "$ask"
xdotool key Tab space   # from Yes to No
wait_exit "No"
echo "radial at 27%, background picture at 42 degrees, frame picture fill at 86 degrees; screenshots in $shots"
