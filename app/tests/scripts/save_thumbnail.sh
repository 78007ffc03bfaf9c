#!/bin/bash
# Every save road of the real program leaves a "Thumbnail" of the sheet in the design
# file: Ctrl+S, the home panel's Save, and "Save Changes" -> Yes when the program closes.
# The files are read back with python olefile and the PNG is decoded by ImageMagick: the
# sheet's size at 96 pixels per inch, not blank, and showing the design as it was saved.
set -eu   # no pipefail: awk stops reading the pixel lists early
. "$(dirname "$0")/program_lib.sh"
winpath() { "$SL_BINARY_DIR/bin/winepath" -w "$1" 2>/dev/null; }

# The "Thumbnail" stream of a design file written to a PNG file; prints "ok" when there is
# one (nothing while the file is missing or has none).
thumbnail() {   # <design> <png>
  /usr/bin/python3 - "$1" "$2" <<'PY' 2>/dev/null
import olefile, sys
ole = olefile.OleFileIO(sys.argv[1])
if ole.exists("Thumbnail"):
    open(sys.argv[2], "wb").write(ole.openstream("Thumbnail").read())
    print("ok")
PY
}
# Bounding box "x0 y0 x1 y1" of the design's image colour (200, 40, 40) in a picture.
image_box() {
  convert "$1" txt:- | awk '/#C82828/ { split($1, a, /[,:]/); x = a[1]; y = a[2];
    if (n == 0 || x < x0) x0 = x; if (n == 0 || y < y0) y0 = y;
    if (x > x1) x1 = x; if (y > y1) y1 = y; n++ } END { if (n) print x0, y0, x1, y1 }'
}
# Checks the thumbnail of a design: a PNG of the A4 sheet of layout 2 (8.2677 x 11.6929
# inches at 96 per inch), with more than white on it.
check_thumbnail() {   # <design> <png> <what>
  wait_for 30 thumbnail "$1" "$2" >/dev/null || fail "$3: no \"Thumbnail\" in $(basename "$1")"
  cp "$2" "$shots/save-thumbnail-$(basename "$2")"
  read -r format w h colours <<<"$(identify -format '%m %w %h %k' "$2")"
  echo "$3: $format ${w}x$h, $colours colours"
  [ "$format" = PNG ] || fail "$3: the thumbnail is $format, not PNG"
  [ "$w" -eq 793 ] && [ "$h" -eq 1122 ] || fail "$3: the thumbnail is ${w}x$h, not the sheet's 793x1122"
  marked=$(convert "$2" -alpha off -fill black +opaque white -negate -format '%[fx:int(mean*w*h+0.5)]' info:)
  [ "$colours" -ge 2 ] && [ "$marked" -ge 100 ] || fail "$3: the thumbnail is blank ($marked pixels not white)"
}

start_program() {   # <title> [design]: started in the work folder, splash gone, canvas painted
  local title=$1; shift
  (cd "$work" && exec "$SL_BINARY_DIR/wine-run" ./SugarleafStudio.exe "$@") &
  pid=$!
  main=$(wait_for 40 xdotool search --onlyvisible --name "^$title - Sugarleaf Studio\$") \
    || fail "no main window titled '$title - Sugarleaf Studio'"
  main=$(echo "$main" | head -1)
  wait_for 30 splash_gone >/dev/null || fail "the splash stayed"
  read -r mx my <<<"$(xdotool getwindowgeometry "$main" | sed -n 's/.*Position: \([0-9]*\),\([0-9]*\).*/\1 \2/p')"
  canvas_top() {
    import -window root "$work/probe.png"
    convert "$work/probe.png" -crop "1x80+$((mx + 1200))+$my" +repage txt:- \
      | awk 'NR > 1 && /#429AFC/ { split($1, a, /[,:]/); print a[2]; exit }'
  }
  top=$(wait_for 15 canvas_top) || fail "no canvas below the caption"
  cy=$((my + top))   # screen y of the client area's first row
}
# Focuses a window and waits until it is the active one (keys then reach it).
focus() {
  xdotool windowfocus "$1" 2>/dev/null || true
  active() { [ "$(xdotool getwindowfocus 2>/dev/null)" = "$1" ] && echo yes; }
  wait_for 10 active "$1" >/dev/null || fail "window $1 did not take the focus"
}
# Answers the common "Save As" dialog with a path.
answer_save_as() {   # <path>
  local dialog
  dialog=$(wait_for 15 xdotool search --onlyvisible --name '^Save As$') || fail "no Save As dialog"
  focus "$(echo "$dialog" | head -1)"
  xdotool type --delay 20 "$(winpath "$1")"
  xdotool key Return
}
ended() { kill -0 "$pid" 2>/dev/null || echo ended; }

# --- 1. A new design saved with the home panel's Save (it asks where) -----------------
start_program Untitled
xdotool mousemove $((mx + 55)) $((cy + 60)) click 1   # home panel: Save
answer_save_as "$work/home.ktb"
check_thumbnail "$work/home.ktb" "$work/home.png" "home panel's Save"

# --- 2. A design with an image opened from the command line, saved with Ctrl+S --------
focus "$main"
xdotool key alt+F4
wait_for 30 ended >/dev/null || fail "the saved design did not let the program end"
wait "$pid" || fail "exit code $?"
pid=""
"$SL_BINARY_DIR/wine-run" "$SL_BINARY_DIR/tools/sl_design.exe" write-one-image "$(winpath "$work/cake.ktb")" \
  || fail "sl_design wrote no design"
[ -z "$(thumbnail "$work/cake.ktb" "$work/none.png")" ] || fail "the written design has a thumbnail already"
start_program cake.ktb cake.ktb
focus "$main"
xdotool key ctrl+s
check_thumbnail "$work/cake.ktb" "$work/ctrl-s.png" "Ctrl+S"
read -r s0 t0 s1 t1 <<<"$(image_box "$work/ctrl-s.png")"
[ -n "${s0:-}" ] || fail "Ctrl+S: the design's image is not in the thumbnail"
echo "Ctrl+S: the image at $s0 $t0 $s1 $t1 of the thumbnail"

# --- 3. The image dragged; closing asks "Save Changes": Yes saves ---------------------
import -window root "$work/before.png"
read -r x0 y0 x1 y1 <<<"$(image_box "$work/before.png")"
[ -n "${x0:-}" ] || fail "the design's image is not on the canvas"
xdotool mousemove $((mx + 55)) $((cy + 178)) click 1   # home panel: Images
handles() {   # the selected layer's handles stand outside its corners
  import -window root "$work/probe.png"
  convert "$work/probe.png" -crop "12x12+$((x0 - 14))+$((y0 - 14))" +repage txt:- | grep -m1 '#000000'
}
wait_for 15 handles >/dev/null || fail "no handles after the Images button"
cxp=$(( (x0 + x1) / 2 )); cyp=$(( (y0 + y1) / 2 ))
dx=80; dy=-40
xdotool mousemove $cxp $cyp mousedown 1 mousemove $((cxp + 20)) $((cyp - 10)) \
  mousemove $((cxp + dx)) $((cyp + dy)) mouseup 1
moved() {
  import -window root "$work/probe.png"
  convert "$work/probe.png" -format "%[hex:p{$((x0 + dx + 4)),$((y0 + dy + 4))}]" info: | grep -q '^C82828' \
    && echo moved
}
wait_for 15 moved >/dev/null || fail "the drag did not move the image"

focus "$main"
xdotool key alt+F4
ask=$(wait_for 15 xdotool search --onlyvisible --name '^Save Changes$') || fail "closing did not ask"
import -window root "$shots/save-thumbnail-save-changes.png"
focus "$(echo "$ask" | head -1)"
xdotool key Return   # Yes
wait_for 30 ended >/dev/null || fail "Yes did not save and end the program"
wait "$pid" || fail "exit code $?"
pid=""
check_thumbnail "$work/cake.ktb" "$work/save-changes.png" "Save Changes -> Yes"
read -r u0 v0 u1 v1 <<<"$(image_box "$work/save-changes.png")"
echo "Save Changes -> Yes: the image at ${u0:-?} ${v0:-?} ${u1:-?} ${v1:-?} of the thumbnail"
# The thumbnail shows the design as saved: the image right of and above where it was.
[ -n "${u0:-}" ] && [ "$u0" -gt "$s0" ] && [ "$v0" -lt "$t0" ] \
  || fail "the thumbnail of the last save does not show the dragged image"
echo "thumbnails in $shots"
