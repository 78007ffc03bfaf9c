#!/bin/bash
# The design canvas of the real program on the virtual display: the blue canvas, the
# white design area of layout 2 with its outline and rulers, the canvas laid out again
# when the window is restored and resized by its border, and a clean close.
set -eu   # no pipefail: awk stops reading the pixel lists early
. "$(dirname "$0")/program_lib.sh"
# Left edge of the design outline: the first black pixel of a row, from the left.
outline_left() {   # <shot> <y> <from x> <to x>
  convert "$1" -crop "$(($4 - $3))x1+$3+$2" +repage txt:- \
    | awk -v x0="$3" 'NR > 1 && /#000000/ { split($1, a, /[,:]/); print a[1] + x0; exit }'
}
# "<screen y of the client's first row> <x of the design outline>" once a screenshot
# shows the canvas with the design on it, the outline looked for dy rows into the client
# (and, when given, not at `old` pixels from the window's left edge: laid out anew).
canvas_shown() {   # canvas_shown <shot> <dy> <outline from x> <outline to x> [old]
  local top left
  shot "$1"
  top=$(client_top "$1" $((mx + mw - 20)))
  [ -n "$top" ] || return 0
  left=$(outline_left "$1" $((top + $2)) "$3" "$4")
  [ -n "$left" ] && [ "$((left - mx))" != "${5:-}" ] && echo "$top $left"
}

start_program '^Untitled - Sugarleaf Studio$'
shot="$shots/view-canvas-1280.png"
read -r mx my mw mh <<<"$(window_geometry "$main")"
found=$(wait_for 30 canvas_shown "$shot" 400 $((mx + 150)) $((mx + 600))) || fail "no design outline on the canvas"
read -r cy left <<<"$found"   # screen y of the view's first row, the outline's x

[ "$(pixel "$shot" $((mx + mw - 100)) $((cy + 400)))" = "$canvas_colour" ] || fail "canvas background"
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
restored() { local g; g=$(window_geometry "$main"); read -r _ _ w _ <<<"$g"; [ "$w" -lt "$mw" ] && echo "$g"; }
geometry=$(wait_for 15 restored) || fail "the window was not restored"
read -r rx ry rw rh <<<"$geometry"
drag_mouse $((rx + rw - 2)) $((ry + rh - 2)) $((900 - rw + 2)) $((560 - rh + 2)) 3 0.3 0.3 0.5
smaller() { local g; g=$(window_geometry "$main"); read -r _ _ w h <<<"$g"; [ "$w" -le 910 ] && [ "$h" -le 570 ] && echo "$g"; }
geometry=$(wait_for 15 smaller) || fail "the border drag did not resize the window"
read -r sx sy sw sh <<<"$geometry"
echo "resized to ${sw}x${sh}"
# The canvas laid out and painted again for the smaller window: the outline is no longer
# where the maximised window had it.
old=$((left - mx)) mx=$sx mw=$sw
shot2="$shots/view-canvas-resized.png"
found=$(wait_for 15 canvas_shown "$shot2" 200 $((sx + 115)) $((sx + sw - 10)) "$old") \
  || fail "no design outline laid out anew after resizing"
read -r cy2 left2 <<<"$found"
top2=$((cy2 - sy))
# A narrower client: the design keeps its height, so it sits nearer the left margin.
echo "design area starts at x=$((left2 - sx)) of $sw"
[ "$(pixel "$shot2" $((left2 + 40)) $((cy2 + 200)))" = FFFFFF ] || fail "no white design area after resizing"
bottom=$((cy2 + sh - top2 - 30))
[ "$(pixel "$shot2" $((left2 + 40)) "$bottom")" = FFFFFF ] || fail "the design does not reach down the smaller window"

# Unchanged design: closing asks nothing and ends the program.
close_program
echo "screenshots: $shot $shot2"
