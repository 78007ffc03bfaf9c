# Sourced by the tests that drive the real program on the virtual display: a work folder
# with the program and its language files, ended with the program; starting and closing
# the program, its windows, screenshots and their pixels; and the one wait they all use.
# Every wait has a bound and waits for what it names, never for a fixed time.
: "${SL_BINARY_DIR:?}" "${DISPLAY:?needs the virtual display}"
export WINEPREFIX="$SL_BINARY_DIR/wine"
shots="$SL_BINARY_DIR/screenshots"
mkdir -p "$shots"
work=$(mktemp -d)
pid=""
main=""
cleanup() {
  [ -n "$pid" ] && kill "$pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
cp "$SL_BINARY_DIR/data/SugarleafStudio.exe" "$SL_BINARY_DIR"/data/*.ini "$work/"

# The canvas colour: the client area of the main window starts with it.
canvas_colour=429AFC

fail() { echo "FAIL: $*" >&2; exit 1; }
winpath() { "$SL_BINARY_DIR/bin/winepath" -w "$1" 2>/dev/null; }
# The title pattern of the main window on a design: its whole Windows path, then the name.
design_title() { echo "^$(winpath "$1" | sed 's/[][\\.*^$()+?{}|]/\\&/g') - Sugarleaf Studio\$"; }   # design_title <file>

now_ms() { local t=${EPOCHREALTIME//[!0-9]/}; echo $((10#$t / 1000)); }
# The one wait: runs the command until it prints something (printed again) or the
# seconds are up (status 1); the command runs at least once.
wait_for() {   # wait_for <seconds> <command...>
  local end=$(($(now_ms) + $1 * 1000)); shift
  while :; do
    out=$("$@" || true)
    [ -n "$out" ] && { echo "$out"; return 0; }
    [ "$(now_ms)" -lt "$end" ] || return 1
    sleep 0.1
  done
}

# One setting of a settings file ("ziviz.dat"), read by python olefile: the "key==value"
# texts are UTF-16, each ending with a zero character.  Nothing when the key is not there.
setting_of() {   # setting_of <file> <key>
  /usr/bin/python3 - "$1" "$2" <<'PY'
import olefile, sys
data = olefile.OleFileIO(sys.argv[1]).openstream("Data").read()
key = (sys.argv[2] + "==").encode("utf-16-le")
at = data.find(key)
while at >= 0 and at % 2:
    at = data.find(key, at + 1)
if at >= 0:
    end = at
    while end + 1 < len(data) and data[end:end + 2] != b"\0\0":
        end += 2
    print(data[at + len(key):end].decode("utf-16-le"))
PY
}

# --- Windows ---------------------------------------------------------------------------
# Visible top-level windows of one size ("640x480"), one id a line.
windows_of_size() {
  local id
  for id in $(xdotool search --onlyvisible --name '' 2>/dev/null); do
    xdotool getwindowgeometry "$id" 2>/dev/null | grep -q "Geometry: $1" && echo "$id"
  done
  return 0
}
# Prints "gone" once no visible 640 x 480 window (the splash) is left.
splash_gone() { [ -z "$(windows_of_size 640x480)" ] && echo gone; return 0; }
# The visible windows whose title matches a pattern, one id a line.
windows_titled() { xdotool search --onlyvisible --name "$1" 2>/dev/null || true; }
no_window_titled() { [ -z "$(windows_titled "$1")" ] && echo none; }
wait_window() {   # wait_window <seconds> <title pattern>: prints the first such window's id
  local ids
  ids=$(wait_for "$1" windows_titled "$2") || return 1
  echo "$ids" | head -1
}
wait_no_window() { wait_for "$1" no_window_titled "$2" >/dev/null; }   # wait_no_window <seconds> <title pattern>
window_geometry() {   # window_geometry <id>: "x y width height" on the screen
  xdotool getwindowgeometry "$1" 2>/dev/null | tr -s ' ,:x' ' ' \
    | awk '/Position/ {x = $2; y = $3} /Geometry/ {print x, y, $2, $3}'
}
# Gives a window the focus; a window that has gone is left to the check that follows.
focus_window() { xdotool windowfocus --sync "$1" 2>/dev/null || xdotool windowfocus "$1" 2>/dev/null || true; }
has_focus() { [ "$(xdotool getwindowfocus 2>/dev/null)" = "$1" ] && echo yes; }   # has_focus <id>
# Gives a window the focus and fails unless it becomes the active one (keys then reach it).
take_focus() {   # take_focus <id>
  focus_window "$1"
  wait_for 10 has_focus "$1" >/dev/null || fail "window $1 did not take the focus"
}
# Waits for the dialog that the last input shows: prints its id, and with a file name saves
# a picture of the screen once the dialog has painted.  Fails with the message otherwise.
wait_dialog() {   # wait_dialog <title pattern> <failure message> [png]
  local id
  id=$(wait_window 15 "$1") || fail "$2"
  rm -f "$work/painted.sum"
  if [ -n "${3:-}" ]; then wait_for 10 painted "$id" "$3" >/dev/null || true; fi
  echo "$id"
}
# Gives the dialog keys and waits until no window has its title.
answer_dialog() {   # answer_dialog <id> <title pattern> <keys...>
  local id=$1 title=$2
  shift 2
  focus_window "$id"
  xdotool key "$@"
  wait_no_window 15 "$title" || fail "the window titled '$title' did not close"
}

# --- Screenshots and pixels -------------------------------------------------------------
shot() { import -window root "$1"; }                                    # shot <png>: the whole screen
pixel() { convert "$1" -format "%[hex:p{$2,$3}]" info: | cut -c1-6; }   # pixel <png> <x> <y>: RRGGBB
# The screen row of the client area's first row: the first canvas-coloured pixel in column
# x below the top of the main window (within its caption's height).  Nothing when there is
# none yet.
client_top() {   # client_top <png> <x>
  local wx wy _
  read -r wx wy _ <<<"$(window_geometry "$main")"
  [ -n "$wy" ] || return 0
  [ "$wy" -ge 0 ] || wy=0
  convert "$1" -crop "1x80+$2+$wy" +repage txt:- 2>/dev/null \
    | awk -v y0="$wy" -v c="#$canvas_colour" 'NR > 1 && index($0, c) { split($1, a, /[,:]/); print a[2] + y0; exit }'
}
# The home panel's visible buttons by control id, top to bottom: New, Load, Save,
# Background, Images, Text, Frame, Preview, Print, Settings.
home_ids=(1027 1028 1029 1090 1022 1038 1040 1193 1039 1032)
# The row, in the client area, of the top edge of the home panel's button with that control
# id, read down column x: each button is framed in RGB(116, 184, 255), so its top edge is
# the (2n-1)-th run of that colour.  Nothing while the panel has not painted.
home_button() {   # home_button <png> <client top> <id> [x]
  local n=0 i x=${4:-$(( $(window_geometry "$main" | cut -d' ' -f1) + 20 ))}
  for i in "${!home_ids[@]}"; do [ "${home_ids[$i]}" = "$3" ] && n=$((i + 1)); done
  [ "$n" -gt 0 ] || fail "the home panel has no button $3"
  [ "$x" -ge 20 ] || x=20
  convert "$1" -crop "1x720+$x+$2" +repage txt:- \
    | awk -v n="$n" 'NR > 1 { split($1, a, /[,:]/); hit = index($0, "#74B8FF") > 0
                             if (hit && !prev && ++k == 2 * n - 1) { print a[2]; exit } prev = hit }'
}
# Clicks the home panel's button with that control id, once the panel shows it.
click_home() {   # click_home <id>
  local x _ where
  read -r x _ <<<"$(window_geometry "$main")"
  home_place() {
    local top row
    shot "$work/home.png"
    top=$(client_top "$work/home.png" $((x + 600)))
    [ -n "$top" ] && row=$(home_button "$work/home.png" "$top" "$1") && [ -n "$row" ] && echo $((top + row + 12))
  }
  where=$(wait_for 30 home_place "$1") || fail "the home panel never showed its button $1"
  click_at $((x + 40 > 0 ? x + 40 : 40)) "$where"
}
# "x0 x1" of the longest run of white in row y of a picture, within the main window.
white_run() {   # white_run <png> <y>
  local wx _ ww
  read -r wx _ ww _ <<<"$(window_geometry "$main")"
  convert "$1" -crop "${ww}x1+$((wx > 0 ? wx : 0))+$2" +repage txt:- \
    | awk 'NR > 1 { split($1, a, /[,:]/); x = a[1]; if (index($0, "#FFFFFF")) { if (s < 0) s = x; if (x - s > b1 - b0) { b0 = s; b1 = x } } else s = -1 }
           BEGIN { s = -1; b0 = 0; b1 = -1 } END { if (b1 > b0) print b0, b1 }'
}
# Bounding box "x0 y0 x1 y1" of a colour that covers more than 100 pixels (a tool menu's
# one-pixel frame) right of the home panel, whose buttons are framed in the same colour;
# nothing when it is not there.
colour_box() {   # colour_box <png> <RRGGBB>
  local wx
  read -r wx _ <<<"$(window_geometry "$main")"
  convert "$1" txt:- | awk -v c="#$2" -v xmin="$(( ${wx:-0} + 120 ))" 'index($0, c) { split($1, a, /[,:]/); x = a[1]; y = a[2]; if (x < xmin) next;
    if (n == 0 || x < x0) x0 = x; if (n == 0 || y < y0) y0 = y; if (x > x1) x1 = x; if (y > y1) y1 = y; n++ }
    END { if (n > 100) print x0, y0, x1, y1 }'
}
# Bounding box "x0 y0 x1 y1" of the test designs' image colour (200, 40, 40) in a picture;
# nothing when it is not there.
image_box() {   # image_box <png>
  convert "$1" txt:- | awk '/#C82828/ { split($1, a, /[,:]/); x = a[1]; y = a[2];
    if (n == 0 || x < x0) x0 = x; if (n == 0 || y < y0) y0 = y;
    if (x > x1) x1 = x; if (y > y1) y1 = y; n++ } END { if (n) print x0, y0, x1, y1 }'
}
# A pixel of the colour in the 12 x 12 square up and left of (x, y), where a selected
# layer's corner handle stands when (x, y) is its top-left corner; nothing when none.
handle_at() {   # handle_at <x> <y> <#RRGGBB>
  shot "$work/probe.png"
  convert "$work/probe.png" -crop "12x12+$(($1 - 14))+$(($2 - 14))" +repage txt:- | grep -m1 "$3"
}
# The number of colours inside a window: a window that has painted shows more than one.
window_colours() {   # window_colours <png> <id>
  local x y w h
  read -r x y w h <<<"$(window_geometry "$2")"
  [ -n "$h" ] && convert "$1" -crop "${w}x${h}+$x+$y" +repage -unique-colors -format '%w' info:
}
# A screenshot into png once the window shows more than a flat colour and looks as it did
# in the screenshot before (its painting has settled).  For pictures a person looks at.
painted() {   # painted <id> <png>
  local x y w h sum
  shot "$2"
  read -r x y w h <<<"$(window_geometry "$1")"
  [ -n "$h" ] || return 0
  sum=$(convert "$2" -crop "${w}x${h}+$x+$y" +repage rgb:- | md5sum)
  if [ "$sum" = "$(cat "$work/painted.sum" 2>/dev/null)" ] && [ "$(window_colours "$2" "$1")" -gt 2 ]; then
    rm -f "$work/painted.sum"
    echo "$sum"
  else
    echo "$sum" > "$work/painted.sum"
  fi
}

# --- Input -----------------------------------------------------------------------------
# A drag with the left button as a person makes it: pressed at (x, y), held, moved in equal
# steps by (dx, dy), held again and released.  The holds (seconds) give the program's
# thread time to see the button go down before the pointer moves; they are the gesture's
# pace, not a wait for anything.
drag_mouse() {   # drag_mouse <x> <y> <dx> <dy> [steps] [hold] [per step] [before release]
  local x=$1 y=$2 dx=$3 dy=$4 steps=${5:-6} hold=${6:-0.3} pause=${7:-0.05} release=${8:-0.3} i args=()
  for i in $(seq "$steps"); do
    args+=(mousemove $((x + dx * i / steps)) $((y + dy * i / steps)) sleep "$pause")
  done
  # (No "mousemove --sync": it waits for a pointer that is already there.)
  xdotool mousemove "$x" "$y" mousedown 1 sleep "$hold" "${args[@]}" sleep "$release" mouseup 1
}
click_at() { xdotool mousemove "$1" "$2" click 1; }   # click_at <x> <y>

# --- The program -----------------------------------------------------------------------
launch_program() {   # launch_program [arguments...]: starts it in the work folder
  (cd "$work" && exec "$SL_BINARY_DIR/wine-run" ./SugarleafStudio.exe "$@") &
  pid=$!
}
wait_main() {   # wait_main <title pattern> [seconds]: sets main to the main window
  main=$(wait_window "${2:-90}" "$1") || fail "no main window titled '$1'"
}
# Starts the program, waits for its main window and for the start-up to take the splash
# away: sets pid and main.
start_program() {   # start_program <title pattern> [arguments...]
  local title=$1; shift
  launch_program "$@"
  wait_main "$title"
  wait_for 60 splash_gone >/dev/null || fail "the splash stayed"
}
program_ended() { kill -0 "$pid" 2>/dev/null || echo ended; }
# Waits for the program to end and checks its exit code (0 unless told otherwise).
wait_exit() {   # wait_exit <what ended it> [exit code]
  local rc
  wait_for 30 program_ended >/dev/null || fail "the program did not end after $1"
  wait "$pid" && rc=0 || rc=$?
  pid=""
  [ "$rc" -eq "${2:-0}" ] || fail "exit code $rc after $1"
}
close_program() {   # Alt+F4 on the main window: an unchanged design ends the program
  focus_window "$main"
  xdotool key alt+F4
  wait_exit "its window was closed (an unexpected question?)"
}

# --- The dialog "Files" -------------------------------------------------------------------
# Its client area (inside a 3-pixel frame; template 440 x 300 dialog units, a unit 1.5 pixels
# across and 13/8 down): sets fx0, fw, fbottom and ftop on the screen.
files_client() {   # files_client <id>
  local x y w h
  read -r x y w h <<<"$(window_geometry "$1")"
  fx0=$((x + 3)); fw=$((w - 6)); fbottom=$((y + h - 3))
  ftop=$((fbottom - 300 * fw * 13 / (440 * 12)))
}
# Types a name into the pane's name box (250 x 22 at the pane's left, 16 pixels above its
# bottom; the pane is the client less 10 left, top and right and 55 at the bottom) and
# confirms it with Return (OK).
files_type_name() {   # files_type_name <id> <name>
  files_client "$1"
  click_at $((fx0 + 10 + 125)) $((fbottom - 55 - 16 - 11))
  xdotool type --delay 30 "$2"
  xdotool key Return
}
# Picks the first file of the pane's list (a click on the list's empty lower right, then
# Home) and confirms it with Return (OK).
files_pick_first() {   # files_pick_first <id>
  files_client "$1"
  click_at $((fx0 + fw - 10 - 12)) $((fbottom - 55 - 16 - 12))
  xdotool key Home
  xdotool key Return
}

# "y0 y1" of the longest run of white in column x of a picture, below the client top (ctop)
# within the main window (my, mh).
column_run() {   # column_run <png> <x>
  convert "$1" -crop "1x$((my + mh - ctop))+$2+$ctop" +repage txt:- \
    | awk -v top="$ctop" 'NR > 1 { split($1, a, /[,:]/); y = a[2] + top; if (index($0, "#FFFFFF")) { if (s < 0) s = y; if (y - s > b1 - b0) { b0 = s; b1 = y } } else s = -1 }
           BEGIN { s = -1; b0 = 0; b1 = -1 } END { if (b1 > b0) print b0, b1 }'
}
