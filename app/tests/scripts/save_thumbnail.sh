#!/bin/bash
# Every save road of the real program leaves a "Thumbnail" of the sheet in the design
# file: Ctrl+S, the home panel's Save, and "Save Changes" -> Yes -> the dialog "Files" when
# the program closes.
# The files are read back with python olefile and the PNG is decoded by ImageMagick: the
# sheet's size at 96 pixels per inch, not blank, and showing the design as it was saved.
set -eu   # no pipefail: awk stops reading the pixel lists early
. "$(dirname "$0")/program_lib.sh"

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

# The screen row of the client area's first row, once the canvas is painted below the caption.
canvas_top() { shot "$work/probe.png" && client_top "$work/probe.png" $((mx + 1200)); }
# Starts the program (on a design) and waits for its canvas: sets pid, main, mx and cy.
open_program() {   # open_program <title pattern> [design]
  local title=$1; shift
  start_program "$title" "$@"
  read -r mx _ <<<"$(window_geometry "$main")"
  cy=$(wait_for 15 canvas_top) || fail "no canvas below the caption"
}
mkdir -p "$work/SAVE_DIR"

# --- 1. A new design saved with the home panel's Save (it asks where) -----------------
open_program '^Untitled - Sugarleaf Studio$'
click_home 1029   # Save
dialog=$(wait_dialog '^Save the design as$' "Save on a new design asked for no place")
files_type_name "$dialog" home
check_thumbnail "$work/SAVE_DIR/home.ktb" "$work/home.png" "home panel's Save"

# --- 2. A design with an image opened from the command line, saved with Ctrl+S --------
take_focus "$main"
xdotool key alt+F4
wait_exit "the saved design was closed"
"$SL_BINARY_DIR/wine-run" "$SL_BINARY_DIR/tools/sl_design.exe" write-one-image "$(winpath "$work/cake.ktb")" \
  || fail "sl_design wrote no design"
[ -z "$(thumbnail "$work/cake.ktb" "$work/none.png")" ] || fail "the written design has a thumbnail already"
open_program "$(design_title "$work/cake.ktb")" cake.ktb   # titled with its whole path
take_focus "$main"
xdotool key ctrl+s
check_thumbnail "$work/cake.ktb" "$work/ctrl-s.png" "Ctrl+S"
read -r s0 t0 s1 t1 <<<"$(image_box "$work/ctrl-s.png")"
[ -n "${s0:-}" ] || fail "Ctrl+S: the design's image is not in the thumbnail"
echo "Ctrl+S: the image at $s0 $t0 $s1 $t1 of the thumbnail"

# --- 3. The image dragged; closing asks "Save Changes": Yes saves ---------------------
shot "$work/before.png"
read -r x0 y0 x1 y1 <<<"$(image_box "$work/before.png")"
[ -n "${x0:-}" ] || fail "the design's image is not on the canvas"
click_home 1022   # Images
# The layer is selected: its handles stand outside its corners.
wait_for 15 handle_at "$x0" "$y0" '#000000' >/dev/null || fail "no handles after the Images button"
cxp=$(( (x0 + x1) / 2 )); cyp=$(( (y0 + y1) / 2 ))
dx=80; dy=-40
drag_mouse $cxp $cyp $dx $dy 4
moved() { shot "$work/probe.png" && [ "$(pixel "$work/probe.png" $((x0 + dx + 4)) $((y0 + dy + 4)))" = C82828 ] && echo moved; }
wait_for 15 moved >/dev/null || fail "the drag did not move the image"

take_focus "$main"
xdotool key alt+F4
ask=$(wait_dialog '^Save Changes$' "closing did not ask" "$shots/save-thumbnail-asks.png")
take_focus "$ask"
xdotool key Return   # Yes: the dialog "Files" saves to the design's own path
files=$(wait_dialog '^Save the design$' "Yes did not open the dialog \"Files\"" "$shots/save-thumbnail-files.png")
take_focus "$files"
xdotool key Return   # OK
wait_exit "Yes and OK (it saves, then ends the program)"
check_thumbnail "$work/cake.ktb" "$work/save-changes.png" "Save Changes -> Yes"
read -r u0 v0 u1 v1 <<<"$(image_box "$work/save-changes.png")"
echo "Save Changes -> Yes: the image at ${u0:-?} ${v0:-?} ${u1:-?} ${v1:-?} of the thumbnail"
# The thumbnail shows the design as saved: the image right of and above where it was.
[ -n "${u0:-}" ] && [ "$u0" -gt "$s0" ] && [ "$v0" -lt "$t0" ] \
  || fail "the thumbnail of the last save does not show the dragged image"
echo "thumbnails in $shots"
