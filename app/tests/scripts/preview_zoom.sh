#!/bin/bash
# The print preview of the real program zoomed in, scrolled as a person scrolls it: the home
# panel's Preview, Zoom In twice, then the scroll bars (clicks in their troughs), the wheel
# over the page (Shift for across) and the keys each take the page to all four of its
# corners, where the page's black frame shows with the grey margin beyond it.  A picture of
# each corner is kept.
set -eu   # no pipefail: awk stops reading the pixel lists early
. "$(dirname "$0")/program_lib.sh"

margin=808080   # the preview's grey round the page
start_program '^Untitled - Sugarleaf Studio$'
read -r mx my mw mh <<<"$(window_geometry "$main")"
shot "$work/start.png"
top=$(client_top "$work/start.png" $((mx + 600)))
row=$(home_button "$work/start.png" "$top" 1193)   # Preview
[ -n "$row" ] || fail "no Preview button on the home panel"
click_at $((mx + 40)) $((top + row + 12))
previewing() { shot "$work/p.png"; [ "$(pixel "$work/p.png" $((mx + 20)) $((top + 200)))" = "$margin" ] && echo yes; }
wait_for 20 previewing >/dev/null || fail "no preview after the Preview button"

# The first and last grey pixel of a row of the screen or of a column below the caption
# ("" when none).
grey_run() {   # grey_run <png> row <y> | column <x>
  local geometry
  if [ "$2" = row ]; then geometry="$(identify -format %w "$1")x1+0+$3"; else geometry="1x$((my + mh - top))+$3+$top"; fi
  convert "$1" -crop "$geometry" +repage txt:- | awk -v c="#$margin" -v k="$2" 'NR > 1 && index($0, c) {
    split($1, a, /[,:]/); v = k == "row" ? a[1] : a[2]; if (n++ == 0) f = v; l = v } END { if (n) print f, l }'
}
# The preview's client: left from a row through the page's middle, top from a column in
# the left margin.
read -r L _ <<<"$(grey_run "$work/p.png" row $((top + 200)))"
[ -n "$L" ] || fail "no grey margin left of the page"
read -r T _ <<<"$(grey_run "$work/p.png" column $((L + 2)))"
T=$((top + T))
echo "preview client from $L,$T"

# Zoom In (the tool bar's fifth button) twice: the page grows past the window, bars appear;
# the top-left corner shows, and the grey margin's right and bottom ends are the client's.
click_at $((mx + 310)) $((top + 11))
click_at $((mx + 310)) $((top + 11))
zoomed() {
  local x y
  shot "$work/z.png"
  [ "$(pixel "$work/z.png" $((L + 8)) $((T + 8)))" = 000000 ] || return 0
  [ "$(pixel "$work/z.png" $((L + 300)) $((T + 300)))" = FFFFFF ] || return 0
  read -r _ x <<<"$(grey_run "$work/z.png" row $((T + 2)))"
  read -r _ y <<<"$(grey_run "$work/z.png" column $((L + 2)))"
  [ -n "$x" ] && [ -n "$y" ] && echo "$((x + 1)) $((top + y + 1))"
}
found=$(wait_for 20 zoomed) || fail "Zoom In did not zoom the page"
read -r R B <<<"$found"
[ "$R" -lt "$((mx + mw - 8))" ] && [ "$B" -lt "$((my + mh - 8))" ] || fail "no scroll bars on the zoomed page ($R, $B)"
echo "zoomed preview: client $L,$T to $R,$B"

# At a corner (x, y: l or r, t or b): the grey margin in the window's corner, the page's
# black frame 8 pixels in (12 at the right and bottom: the shadow), and page in the
# opposite corner.
corner_shown() {   # corner_shown <png> <l|r> <t|b>
  local gx gy px py ox oy
  if [ "$2" = l ]; then gx=$((L + 2)); px=$((L + 8)); ox=$((R - 3)); else gx=$((R - 3)); px=$((R - 12)); ox=$((L + 2)); fi
  if [ "$3" = t ]; then gy=$((T + 2)); py=$((T + 8)); oy=$((B - 3)); else gy=$((B - 3)); py=$((B - 12)); oy=$((T + 2)); fi
  [ "$(pixel "$1" "$gx" "$gy")" = "$margin" ] && [ "$(pixel "$1" "$px" "$py")" = 000000 ] \
    && [ "$(pixel "$1" "$ox" "$oy")" != "$margin" ] && echo yes
}
# One step of an input towards a side.
step_bars() {   # a click in the trough next to the arrow of that side
  case $1 in
    r) click_at $((R - 24)) $((B + 8)) ;;
    l) click_at $((L + 24)) $((B + 8)) ;;
    b) click_at $((R + 8)) $((B - 24)) ;;
    t) click_at $((R + 8)) $((T + 24)) ;;
  esac
}
step_wheel() {   # three notches with the pointer over the page
  xdotool mousemove $(((L + R) / 2)) $(((T + B) / 2))
  case $1 in
    r) xdotool keydown shift click --repeat 3 5 keyup shift ;;
    l) xdotool keydown shift click --repeat 3 4 keyup shift ;;
    b) xdotool click --repeat 3 5 ;;
    t) xdotool click --repeat 3 4 ;;
  esac
}
# Wine copies a painted window to the display when its thread next wakes, at most every
# 50 ms: after the last key nothing else wakes it, and the screen would keep a stale page.
# A one-pixel move of the pointer over the page wakes it, as a person's hand does.
wake_page() {
  xdotool mousemove $(((L + R) / 2)) $(((T + B) / 2)) mousemove_relative 1 0
}
step_keys() {
  case $1 in
    r) xdotool key --repeat 10 Right ;;
    l) xdotool key --repeat 10 Left ;;
    b) xdotool key Next ;;
    t) xdotool key Prior ;;
  esac
  wake_page
}
reach() {   # reach <input> <l|r> <t|b>: steps until the corner shows (a bound on them)
  local i png="$shots/preview-program-$1-$2$3.png"
  for i in $(seq 60); do
    shot "$png"
    [ -n "$(corner_shown "$png" "$2" "$3")" ] && return 0
    "step_$1" "$2"
    "step_$1" "$3"
  done
  shot "$png"
  [ -n "$(corner_shown "$png" "$2" "$3")" ] || fail "$1 did not take the zoomed page to the corner $2$3"
}
for input in bars wheel keys; do
  [ "$input" = keys ] && take_focus "$main"
  for corner in "r b" "l b" "l t" "r t"; do
    reach "$input" $corner
    echo "$input: corner $corner shown"
  done
done
# Home and End: straight to the top-left and the bottom-right.
xdotool key End
wake_page
end_shown() { shot "$work/e.png"; corner_shown "$work/e.png" r b; }
wait_for 10 end_shown >/dev/null || fail "End did not show the bottom-right corner"
xdotool key Home
wake_page
home_shown() { shot "$work/h.png"; corner_shown "$work/h.png" l t; }
wait_for 10 home_shown >/dev/null || fail "Home did not show the top-left corner"
echo "the zoomed preview scrolled to every corner by bars, wheel and keys; pictures in $shots"
