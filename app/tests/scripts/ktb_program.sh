#!/bin/bash
# The real program with a design named on its command line, used as a person would: the
# design shows on the canvas; the image tool and a drag move its image; Ctrl+S saves into
# that file; started again, the program shows the image where it was dragged.  The home
# panel's Load of a damaged file shows the message and leaves the design as it was.
set -eu   # no pipefail: awk stops reading the pixel lists early
. "$(dirname "$0")/program_lib.sh"
# Bounding box ("WxH+X+Y") of the pixels of one colour of the image's bands.
red_box() { convert "$1" -fill black +opaque "#D02030" -fill white -opaque "#D02030" -format '%@' info:; }
# The image's centre x image of the centre as the file stores it: "x y" in inches.
stored_centre() {
  /usr/bin/python3 - "$1" <<'PY'
import olefile, struct, sys
data = olefile.OleFileIO(sys.argv[1]).openstream("CakeData").read()
key = "IMAGE=1\0".encode("utf-16-le")
pos = data.find(key) + len(key)
values = []
for fmt, size in (("<f", 4), ("<f", 4), ("<d", 8), ("<d", 8)):
    pos += 2   # VARTYPE
    values.append(struct.unpack_from(fmt, data, pos)[0])
    pos += size
print("%.2f %.2f" % (values[2], values[3]))
PY
}
# Opened from the command line or through "Files", the title is the design's whole path.
title=$(design_title "$work/cake.ktb")
# Starts the program on cake.ktb and waits until the canvas shows the design's image; sets
# mx, my (the window), cy (its client's first row) and box, the image's colour box ("WxH+X+Y").
open_cake() {
  start_program "$title" "$(winpath "$work/cake.ktb")"
  read -r mx my _ <<<"$(window_geometry "$main")"
  local found
  found=$(wait_for 30 cake_shown "$1") || fail "the design is not shown on the canvas"
  read -r cy box <<<"$found"
}
cake_shown() {   # cake_shown [box]: "<client top> <image box>" once shown (where box says)
  local top b
  shot "$work/probe.png"
  top=$(client_top "$work/probe.png" $((mx + 1200)))
  b=$(red_box "$work/probe.png")
  [ -n "$top" ] && [ -n "$b" ] && [ "$b" != "0x0+0+0" ] && [ -z "$1" -o "$b" = "$1" ] && echo "$top $b"
}

# A design of one image layer, written by the program's own writer.
"$SL_BINARY_DIR/wine-run" "$SL_BINARY_DIR/tools/sl_design.exe" write-banded-image "$(winpath "$work/cake.ktb")" \
  || fail "no design file for the test"
[ "$(stored_centre "$work/cake.ktb")" = "2.00 2.50" ] || fail "the design file's image is not at (2, 2.5)"

# --- 1. Opened from the command line, shown, changed, saved with Ctrl+S ------------------
open_cake ""
shot="$shots/ktb-opened.png"
cp "$work/probe.png" "$shot"
read -r bw bh bx by <<<"$(echo "$box" | tr 'x+' '  ')"
echo "image shown at $box"
[ "$bw" -ge 150 ] && [ "$bh" -ge 100 ] || fail "the design's image is not on the canvas ($box)"

click_home 1022   # Images
# The layer is selected: its handles stand outside its corners, squares drawn inverted
# over the pale yellow background.
wait_for 15 handle_at "$bx" "$by" '#00007F' >/dev/null || fail "no handles after the Images button"
drag_mouse $((bx + bw / 2)) $((by + bh / 2)) 200 150 10 0.2 0.05 0.05
# The drop is drawn: the image's box, its size kept, at least the drag away.
shot="$shots/ktb-dragged.png"
dragged() {
  local b w h x y
  shot "$shot"
  b=$(red_box "$shot")
  read -r w h x y <<<"$(echo "$b" | tr 'x+' '  ')"
  [ "$w" = "$bw" ] && [ "$h" = "$bh" ] && [ $((x - bx)) -ge 150 ] && [ $((y - by)) -ge 100 ] && echo "$b"
}
moved=$(wait_for 15 dragged) || moved=$(red_box "$shot")
echo "dragged to $moved"
read -r mw2 mh2 mx2 my2 <<<"$(echo "$moved" | tr 'x+' '  ')"
[ $((mx2 - bx)) -ge 150 ] && [ $((my2 - by)) -ge 100 ] || fail "the drag did not move the image ($box -> $moved)"

xdotool key ctrl+s
saved() { [ "$(stored_centre "$work/cake.ktb" 2>/dev/null)" != "2.00 2.50" ] && echo saved; }
wait_for 15 saved >/dev/null || fail "Ctrl+S did not save the change into cake.ktb"
echo "saved centre: $(stored_centre "$work/cake.ktb")"
close_program   # saved: no question

# --- 2. Started again: the change is there -------------------------------------------
start_program "$title" "$(winpath "$work/cake.ktb")"
read -r mx my _ <<<"$(window_geometry "$main")"
found=$(wait_for 30 cake_shown "$moved") || found=$(cake_shown "")
read -r cy box <<<"$found"
cp "$work/probe.png" "$shots/ktb-reopened.png"
echo "reopened with the image at $box"
[ "$box" = "$moved" ] || fail "reopened at $box, dragged to $moved"

# --- 3. Load of a damaged file: the message, and the design as it was -----------------
# The damaged file alone in the saving folder, where the dialog "Files" starts: the saved
# design with its thumbnail (the pane lists it by that) and its data overwritten.
mkdir -p "$work/SAVE_DIR"
cp "$work/cake.ktb" "$work/SAVE_DIR/damaged.ktb"
/usr/bin/python3 - "$work/SAVE_DIR/damaged.ktb" <<'PY' || fail "could not damage the design's data"
import olefile, sys
ole = olefile.OleFileIO(sys.argv[1], write_mode=True)
size = ole.get_size("CakeData")
ole.write_stream("CakeData", b"\xff" * size)
ole.close()
PY
click_home 1028   # Load
dialog=$(wait_dialog '^Open a design$' "Load shows no dialog \"Files\"")
files_pick_first "$dialog"
message=$(wait_dialog '^Sugarleaf Studio$' "no message after opening a damaged file" "$shots/ktb-damaged-message.png")
answer_dialog "$message" '^Sugarleaf Studio$' Return
# The design as it was: the same title, and the canvas (painted again once the message
# has gone from it) shows the image where it was.
[ -n "$(windows_titled "$title")" ] || fail "the title changed"
as_before() { shot "$work/after.png"; [ "$(red_box "$work/after.png")" = "$moved" ] && echo same; }
wait_for 10 as_before >/dev/null || fail "the design changed after a failed open: $(red_box "$work/after.png")"
close_program
echo "screenshots in $shots"
