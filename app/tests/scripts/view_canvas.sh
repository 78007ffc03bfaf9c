#!/bin/bash
# The design canvas of the real program on the virtual display: the blue canvas, the
# white design area of layout 2 with its outline and rulers, the canvas laid out again
# when the window is restored and resized by its border, and a clean close.
set -eu   # no pipefail: awk stops reading the pixel lists early
. "$(dirname "$0")/program_lib.sh"
pixel() { convert "$1" -format "%[hex:p{$2,$3}]" info: | cut -c1-6; }
geometry() {   # x y w h of the main window
  xdotool getwindowgeometry "$main" | tr -s ' ,:x' ' ' | awk '/Position/ {x=$2; y=$3} /Geometry/ {print x, y, $2, $3}'
}
# Left edge of the design outline: the first black pixel of a row, from the left.
outline_left() {   # <shot> <y> <from x> <to x>
  convert "$1" -crop "$(($4 - $3))x1+$3+$2" +repage txt:- \
    | awk -v x0="$3" 'NR > 1 && /#000000/ { split($1, a, /[,:]/); print a[1] + x0; exit }'
}

(cd "$work" && exec "$SL_BINARY_DIR/wine-run" ./SugarleafStudio.exe) &
pid=$!
main=$(wait_for 40 xdotool search --onlyvisible --name '^Untitled - Sugarleaf Studio$') \
  || fail "no main window"
main=$(echo "$main" | head -1)
# The start-up timer closes the 640 x 480 splash; then the canvas is painted.
sleep 2
wait_for 30 splash_gone >/dev/null || fail "the splash stayed"
sleep 1
shot="$shots/view-canvas-1280.png"
import -window root "$shot"
read -r mx my mw mh <<<"$(geometry)"
# The caption ends where the canvas colour starts.
top=$(convert "$shot" -crop "1x80+$((mx + mw - 20))+$my" +repage txt:- \
      | awk 'NR > 1 && /#429AFC/ { split($1, a, /[,:]/); print a[2]; exit }')
[ -n "$top" ] || fail "no canvas colour below the caption"
cy=$((my + top))   # screen y of the view's first row

[ "$(pixel "$shot" $((mx + mw - 100)) $((cy + 400)))" = 429AFC ] || fail "canvas background"
left=$(outline_left "$shot" $((cy + 400)) $((mx + 150)) $((mx + 600)))
[ -n "$left" ] || fail "no design outline"
echo "design area starts at x=$((left - mx)) of $mw"
[ $((left - mx)) -ge 200 ] && [ $((left - mx)) -le 260 ] || fail "design outline at $((left - mx))"
[ "$(pixel "$shot" $((left + 200)) $((cy + 400)))" = FFFFFF ] || fail "the design area is not white"
# The ruler above the design: white ticks and numbers on the canvas colour.
ticks=$(convert "$shot" -crop "600x14+$((left + 5))+$((cy + 3))" +repage txt:- | grep -c '#FFFFFF' || true)
[ "$ticks" -gt 40 ] || fail "no ruler above the design ($ticks white pixels)"
vticks=$(convert "$shot" -crop "14x600+$((left - 22))+$((cy + 40))" +repage txt:- | grep -c '#FFFFFF' || true)
[ "$vticks" -gt 40 ] || fail "no ruler left of the design ($vticks white pixels)"

# Restored by a double click on the caption, then made smaller by its border.
xdotool mousemove $((mx + mw / 2)) $((my + 8)) click --repeat 2 --delay 80 1
restored() { read -r _ _ w _ <<<"$(geometry)"; [ "$w" -lt "$mw" ] && echo "$w"; }
wait_for 15 restored >/dev/null
sleep 1
read -r rx ry rw rh <<<"$(geometry)"
[ "$rw" -lt "$mw" ] || fail "the window was not restored ($rw)"
xdotool mousemove $((rx + rw - 2)) $((ry + rh - 2)) sleep 0.3 mousedown 1 sleep 0.3 \
  mousemove $((rx + rw - 60)) $((ry + rh - 120)) sleep 0.3 mousemove $((rx + 900)) $((ry + 560)) \
  sleep 0.5 mouseup 1
smaller() { read -r _ _ w h <<<"$(geometry)"; [ "$w" -le 910 ] && [ "$h" -le 570 ] && echo "$w"; }
wait_for 15 smaller >/dev/null
sleep 1.5   # the canvas laid out and painted again
read -r sx sy sw sh <<<"$(geometry)"
shot2="$shots/view-canvas-resized.png"
import -window root "$shot2"
echo "resized to ${sw}x${sh}"
[ "$sw" -le 910 ] && [ "$sh" -le 570 ] || fail "the border drag did not resize the window"
top2=$(convert "$shot2" -crop "1x80+$((sx + sw - 20))+$sy" +repage txt:- \
       | awk 'NR > 1 && /#429AFC/ { split($1, a, /[,:]/); print a[2]; exit }')
[ -n "$top2" ] || fail "no canvas after resizing"
cy2=$((sy + top2))
left2=$(outline_left "$shot2" $((cy2 + 200)) $((sx + 115)) $((sx + sw - 10)))
[ -n "$left2" ] || fail "no design outline after resizing"
# A narrower client: the design keeps its height, so it sits nearer the left margin.
echo "design area starts at x=$((left2 - sx)) of $sw"
[ "$(pixel "$shot2" $((left2 + 40)) $((cy2 + 200)))" = FFFFFF ] || fail "no white design area after resizing"
bottom=$((cy2 + sh - top2 - 30))
[ "$(pixel "$shot2" $((left2 + 40)) "$bottom")" = FFFFFF ] || fail "the design does not reach down the smaller window"

# Unchanged design: closing asks nothing and ends the program.
xdotool windowfocus --sync "$main" 2>/dev/null || xdotool windowfocus "$main"
xdotool key alt+F4
end=$((SECONDS + 30))
while kill -0 "$pid" 2>/dev/null; do
  [ $SECONDS -lt $end ] || fail "the program did not end"
  sleep 0.2
done
wait "$pid" && rc=0 || rc=$?
pid=""
[ "$rc" -eq 0 ] || fail "exit code $rc"
echo "screenshots: $shot $shot2"
