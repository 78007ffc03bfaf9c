#!/bin/bash
# The real program with a design named on its command line, used as a person would: the
# design shows on the canvas; the image tool and a drag move its image; Ctrl+S saves into
# that file; started again, the program shows the image where it was dragged.  The home
# panel's Load of a damaged file shows the message and leaves the design as it was.
set -eu   # no pipefail: awk stops reading the pixel lists early
. "$(dirname "$0")/program_lib.sh"
winpath() { "$SL_BINARY_DIR/bin/winepath" -w "$1" 2>/dev/null; }
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
start_program() {
  (cd "$work" && exec "$SL_BINARY_DIR/wine-run" ./SugarleafStudio.exe "$(winpath "$work/cake.ktb")") &
  pid=$!
  main=$(wait_for 40 xdotool search --onlyvisible --name '^cake.ktb - Sugarleaf Studio$') \
    || fail "no main window titled 'cake.ktb - Sugarleaf Studio'"
  main=$(echo "$main" | head -1)
  # The start-up timer closes the 640 x 480 splash; wait for that, not for a fixed time.
  sleep 1
  wait_for 30 splash_gone >/dev/null || fail "the splash stayed"
  sleep 0.5
  read -r mx my <<<"$(xdotool getwindowgeometry "$main" | sed -n 's/.*Position: \([0-9]*\),\([0-9]*\).*/\1 \2/p')"
  import -window root "$work/probe.png"
  top=$(convert "$work/probe.png" -crop "1x80+$((mx + 1200))+$my" +repage txt:- \
        | awk 'NR > 1 && /#429AFC/ { split($1, a, /[,:]/); print a[2]; exit }')
  [ -n "$top" ] || fail "no canvas below the caption"
  cy=$((my + top))   # screen y of the client area's first row
}
close_program() {
  xdotool windowfocus --sync "$main" 2>/dev/null || xdotool windowfocus "$main"
  xdotool key alt+F4
  local end=$((SECONDS + 30))
  while kill -0 "$pid" 2>/dev/null; do
    [ $SECONDS -lt $end ] || fail "the program did not end (an unexpected question?)"
    sleep 0.2
  done
  wait "$pid" || fail "exit code $?"
  pid=""
}

# A design of one image layer, written by the program's own writer.
SL_KTB_PROGRAM_DESIGN="$(winpath "$work/cake.ktb")" "$SL_BINARY_DIR/wine-run" \
  "$SL_BINARY_DIR/model_tests.exe" --gtest_filter=KtbWrite.DesignForTheProgramTest >"$work/log" 2>&1 \
  || { cat "$work/log"; fail "no design file for the test"; }
[ "$(stored_centre "$work/cake.ktb")" = "2.00 2.50" ] || fail "the design file's image is not at (2, 2.5)"

# --- 1. Opened from the command line, shown, changed, saved with Ctrl+S ------------------
start_program
shot="$shots/ktb-opened.png"
import -window root "$shot"
box=$(red_box "$shot")
read -r bw bh bx by <<<"$(echo "$box" | tr 'x+' '  ')"
echo "image shown at $box"
[ "$bw" -ge 150 ] && [ "$bh" -ge 100 ] || fail "the design's image is not on the canvas ($box)"

xdotool mousemove $((mx + 55)) $((cy + 178)) click 1   # home panel: Images
sleep 1
xdotool mousemove $((bx + bw / 2)) $((by + bh / 2))
sleep 0.3
xdotool mousedown 1
sleep 0.2
for step in 1 2 3 4 5 6 7 8 9 10; do xdotool mousemove_relative -- 20 15; sleep 0.05; done
xdotool mouseup 1
sleep 1
shot="$shots/ktb-dragged.png"
import -window root "$shot"
moved=$(red_box "$shot")
read -r mw2 mh2 mx2 my2 <<<"$(echo "$moved" | tr 'x+' '  ')"
echo "dragged to $moved"
[ $((mx2 - bx)) -ge 150 ] && [ $((my2 - by)) -ge 100 ] || fail "the drag did not move the image ($box -> $moved)"

xdotool key ctrl+s
saved() { [ "$(stored_centre "$work/cake.ktb" 2>/dev/null)" != "2.00 2.50" ] && echo saved; }
wait_for 15 saved >/dev/null || fail "Ctrl+S did not save the change into cake.ktb"
echo "saved centre: $(stored_centre "$work/cake.ktb")"
close_program   # saved: no question

# --- 2. Started again: the change is there -------------------------------------------
start_program
shot="$shots/ktb-reopened.png"
import -window root "$shot"
again=$(red_box "$shot")
echo "reopened with the image at $again"
[ "$again" = "$moved" ] || fail "reopened at $again, dragged to $moved"

# --- 3. Load of a damaged file: the message, and the design as it was -----------------
head -c 3000 /dev/urandom > "$work/damaged.ktb"
xdotool mousemove $((mx + 55)) $((cy + 25)) click 1    # home panel: Load
dialog=$(wait_for 15 xdotool search --onlyvisible --name '^Open$') || fail "Load shows no open dialog"
xdotool windowfocus "$(echo "$dialog" | head -1)" 2>/dev/null || true
sleep 0.3
xdotool type --delay 20 "$(winpath "$work/damaged.ktb")"
xdotool key Return
message=$(wait_for 15 xdotool search --onlyvisible --name '^Sugarleaf Studio$') \
  || fail "no message after opening a damaged file"
sleep 0.5
shot="$shots/ktb-damaged-message.png"
import -window root "$shot"
xdotool windowfocus "$(echo "$message" | head -1)" 2>/dev/null || true
xdotool key Return
gone() { [ -z "$(xdotool search --onlyvisible --name '^Sugarleaf Studio$' 2>/dev/null)" ] && echo gone; }
wait_for 10 gone >/dev/null || fail "the message did not close"
sleep 0.5
[ -n "$(xdotool search --onlyvisible --name '^cake.ktb - Sugarleaf Studio$')" ] || fail "the title changed"
import -window root "$work/after.png"
[ "$(red_box "$work/after.png")" = "$moved" ] || fail "the design changed after a failed open"
close_program
echo "screenshots in $shots"
