#!/bin/bash
# Dragging an image on the canvas of the real program: a design with one image layer is
# opened from the command line, the home panel's Images button selects the layer, a drag
# of its body moves it on screen by exactly the drag, and closing then asks "Save
# Changes": Cancel keeps the program, No ends it.
set -eu   # no pipefail: awk stops reading the pixel lists early
. "$(dirname "$0")/program_lib.sh"

design="$work/one image.ktb"
"$SL_BINARY_DIR/wine-run" "$SL_BINARY_DIR/tools/sl_design.exe" write-one-image "$(winpath "$design")" \
  || fail "sl_design wrote no design"
[ -s "$design" ] || fail "no design file"

start_program 'Sugarleaf Studio$' "one image.ktb"
read -r mx my _ <<<"$(window_geometry "$main")"
# The design is shown once its image is on the canvas and the home panel has its buttons.
before="$shots/view-drag-before.png"
shown() {
  local box top row
  shot "$before"
  box=$(image_box "$before")
  top=$(client_top "$before" $((mx + 600)))
  [ -n "$box" ] && [ -n "$top" ] && row=$(home_button "$before" "$top" 1022) && [ -n "$row" ] && echo "$box $top $row"
}
found=$(wait_for 30 shown) || fail "the design's image and the home panel never appeared"
read -r x0 y0 x1 y1 cy images <<<"$found"
echo "image at $x0 $y0 $x1 $y1; client top at $cy, Images button at $images"
click_at $((mx + 40 > 0 ? mx + 40 : 40)) $((cy + images + 12))
# The layer is selected: its handles (black squares) stand outside its corners.
handles() {
  kill -0 "$pid" 2>/dev/null || fail "the program ended after the Images button"
  handle_at "$x0" "$y0" '#000000'
}
wait_for 15 handles >/dev/null || fail "no handles after the Images button"

cxp=$(( (x0 + x1) / 2 )); cyp=$(( (y0 + y1) / 2 ))
dx=60; dy=-35
drag_mouse $cxp $cyp $dx $dy 2 0.3 0.3 0.3
# Wait until the drop is drawn: the whole image, its size kept, where the drag put it (or
# the time is up: the checks below then say where it is).
after="$shots/view-drag-after.png"
dropped() {
  local b a0 b0 a1 b1
  kill -0 "$pid" 2>/dev/null || fail "the program ended during the drag"
  shot "$after"
  b=$(image_box "$after")
  read -r a0 b0 a1 b1 <<<"$b"
  [ -n "$b" ] && [ $((a0 - x0 - dx)) -ge -1 ] && [ $((a0 - x0 - dx)) -le 1 ] && [ $((b0 - y0 - dy)) -ge -1 ] \
    && [ $((b0 - y0 - dy)) -le 1 ] && [ $((a1 - a0)) -eq $((x1 - x0)) ] && [ $((b1 - b0)) -eq $((y1 - y0)) ] && echo "$b"
}
box=$(wait_for 15 dropped) || box=$(image_box "$after")
read -r a0 b0 a1 b1 <<<"$box"
echo "image now at $a0 $b0 $a1 $b1"
[ $((a0 - x0)) -ge $((dx - 1)) ] && [ $((a0 - x0)) -le $((dx + 1)) ] || fail "moved by $((a0 - x0)) across, not $dx"
[ $((b0 - y0)) -ge $((dy - 1)) ] && [ $((b0 - y0)) -le $((dy + 1)) ] || fail "moved by $((b0 - y0)) down, not $dy"
[ $((a1 - a0)) -eq $((x1 - x0)) ] || fail "the image changed its width"

# The drag changed the design: closing asks first.
focus_window "$main"
xdotool key alt+F4
ask=$(wait_dialog '^Save Changes$' "closing did not ask" "$shots/view-drag-save-changes.png")
# The skinned question: pale yellow inside its frame.
read -r ax ay aw ah <<<"$(window_geometry "$ask")"
[ "$(pixel "$shots/view-drag-save-changes.png" $((ax + 8)) $((ay + ah - 8)))" = FFFFC0 ] \
  || fail "\"Save Changes\" is not the skinned, pale yellow dialog"
answer_dialog "$ask" '^Save Changes$' Escape

# Cancel kept the program: closing again asks again (keys are handled in turn, so the
# Cancel has been handled once the question is back), and the program has not ended.
# The same check sees the end when No is the answer.
focus_window "$main"
xdotool key alt+F4
ask=$(wait_window 15 '^Save Changes$') || { [ -z "$(program_ended)" ] || fail "Cancel closed the program"; fail "closing did not ask again"; }
[ -z "$(program_ended)" ] || fail "Cancel closed the program"
focus_window "$ask"
xdotool key Tab space   # from Yes to No
wait_exit "No"
echo "dragged by $dx, $dy; closing asked; screenshots in $shots"
