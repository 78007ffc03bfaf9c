#!/bin/bash
# Dragging an image on the canvas of the real program: a design with one image layer is
# opened from the command line, the home panel's Images button selects the layer, a drag
# of its body moves it on screen by exactly the drag, and closing then asks "Save
# Changes": Cancel keeps the program, No ends it.
set -eu   # no pipefail: awk stops reading the pixel lists early
. "$(dirname "$0")/program_lib.sh"
# Bounding box "x0 y0 x1 y1" of the image's colour (200, 40, 40) in a screenshot.
image_box() {
  convert "$1" txt:- | awk '/#C82828/ { split($1, a, /[,:]/); x = a[1]; y = a[2];
    if (n == 0 || x < x0) x0 = x; if (n == 0 || y < y0) y0 = y;
    if (x > x1) x1 = x; if (y > y1) y1 = y; n++ } END { if (n) print x0, y0, x1, y1 }'
}

design="$work/one image.ktb"
SL_VIEW_DESIGN_OUT="$("$SL_BINARY_DIR/bin/winepath" -w "$design" 2>/dev/null)" "$SL_BINARY_DIR/wine-run" \
  "$SL_BINARY_DIR/app_tests.exe" --gtest_filter=ViewDesignHelper.* --gtest_color=no >/dev/null \
  || fail "the helper wrote no design"
[ -s "$design" ] || fail "no design file"

(cd "$work" && exec "$SL_BINARY_DIR/wine-run" ./SugarleafStudio.exe "one image.ktb") &
pid=$!
main=$(wait_for 40 xdotool search --onlyvisible --name 'Sugarleaf Studio$') || fail "no main window"
main=$(echo "$main" | head -1)
# The design is shown once its image is on the canvas.
shown() { import -window root "$work/probe.png"; image_box "$work/probe.png"; }
wait_for 30 shown >/dev/null || fail "the design's image never appeared"
sleep 1
read -r mx my <<<"$(xdotool getwindowgeometry "$main" | sed -n 's/.*Position: \(-*[0-9]*\),\(-*[0-9]*\).*/\1 \2/p')"
before="$shots/view-drag-before.png"
import -window root "$before"
box=$(image_box "$before")
[ -n "$box" ] || fail "the design's image is not on the canvas"
read -r x0 y0 x1 y1 <<<"$box"
echo "image at $box"

# The home panel's Images button: the fifth button, below the four main actions (each
# button's frame starts with a white row).
top=$(convert "$before" -crop "1x80+$((mx + 600))+$((my > 0 ? my : 0))" +repage txt:- \
      | awk 'NR > 1 && /#429AFC/ { split($1, a, /[,:]/); print a[2]; exit }')
cy=$(( (my > 0 ? my : 0) + top ))
images=$(convert "$before" -crop "1x300+$((mx + 20 > 0 ? mx + 20 : 20))+$cy" +repage txt:- \
  | awk 'NR > 1 && /#FFFFFF/ { split($1, a, /[,:]/); if (++n == 5) { print a[2]; exit } }')
[ -n "$images" ] || fail "the Images button was not found"
echo "client top at $cy, Images button at $images"
xdotool mousemove $((mx + 40 > 0 ? mx + 40 : 40)) $((cy + images + 12)) click 1
# The layer is selected: its handles (black squares) stand outside its corners.
handles() {
  kill -0 "$pid" 2>/dev/null || fail "the program ended after the Images button"
  import -window root "$work/probe.png"
  convert "$work/probe.png" -crop "12x12+$((x0 - 14))+$((y0 - 14))" +repage txt:- | grep -m1 '#000000'
}
wait_for 15 handles >/dev/null || fail "no handles after the Images button"

cxp=$(( (x0 + x1) / 2 )); cyp=$(( (y0 + y1) / 2 ))
dx=60; dy=-35
xdotool mousemove $cxp $cyp sleep 0.3 mousedown 1 sleep 0.3 mousemove $((cxp + 20)) $((cyp - 10)) \
  sleep 0.3 mousemove $((cxp + dx)) $((cyp + dy)) sleep 0.3 mouseup 1
# Wait until the image shows at its new top-left corner, above where it was (or the time
# is up: the checks below then say where it is).
moved() {
  kill -0 "$pid" 2>/dev/null || fail "the program ended during the drag"
  import -window root "$work/probe.png"
  convert "$work/probe.png" -format "%[hex:p{$((x0 + dx + 4)),$((y0 + dy + 4))}]" info: | grep -q '^C82828' \
    && echo moved
}
wait_for 15 moved >/dev/null
sleep 1   # the last repaint of the drop
kill -0 "$pid" 2>/dev/null || fail "the program ended during the drag"
after="$shots/view-drag-after.png"
import -window root "$after"
read -r a0 b0 a1 b1 <<<"$(image_box "$after")"
echo "image now at $a0 $b0 $a1 $b1"
[ $((a0 - x0)) -ge $((dx - 1)) ] && [ $((a0 - x0)) -le $((dx + 1)) ] || fail "moved by $((a0 - x0)) across, not $dx"
[ $((b0 - y0)) -ge $((dy - 1)) ] && [ $((b0 - y0)) -le $((dy + 1)) ] || fail "moved by $((b0 - y0)) down, not $dy"
[ $((a1 - a0)) -eq $((x1 - x0)) ] || fail "the image changed its width"

# The drag changed the design: closing asks first.
xdotool windowfocus --sync "$main" 2>/dev/null || xdotool windowfocus "$main"
xdotool key alt+F4
ask=$(wait_for 15 xdotool search --onlyvisible --name '^Save Changes$') || fail "closing did not ask"
import -window root "$shots/view-drag-save-changes.png"
xdotool windowfocus "$(echo "$ask" | head -1)" 2>/dev/null || true
xdotool key Escape
asking() { [ -n "$(xdotool search --onlyvisible --name '^Save Changes$' 2>/dev/null)" ] || echo gone; }
wait_for 15 asking >/dev/null || fail "the question stayed"
sleep 1.5
kill -0 "$pid" 2>/dev/null || fail "Cancel closed the program"

xdotool windowfocus --sync "$main" 2>/dev/null || xdotool windowfocus "$main"
xdotool key alt+F4
ask=$(wait_for 15 xdotool search --onlyvisible --name '^Save Changes$') || fail "closing did not ask again"
xdotool windowfocus "$(echo "$ask" | head -1)" 2>/dev/null || true
xdotool key Tab space   # from Yes to No
end=$((SECONDS + 30))
while kill -0 "$pid" 2>/dev/null; do
  [ $SECONDS -lt $end ] || fail "No did not end the program"
  sleep 0.2
done
pid=""
echo "dragged by $dx, $dy; closing asked; screenshots in $shots"
