#!/bin/bash
# The dialog "Files" of the real program with the saving folder below a hidden folder (its
# name begins with a dot), as the per-user data folders are hidden: the home panel's Save
# on a new design, the name "cake" and OK write cake.ktb there.  A new start of the program
# then loads it: Load shows that folder, picking the design and OK opens it (its path
# becomes the title).
set -eu
. "$(dirname "$0")/program_lib.sh"

designs="$work/.private/cakes/designs"
mkdir -p "$designs"
"$SL_BINARY_DIR/wine-run" "$SL_BINARY_DIR/tools/sl_setting.exe" "$(winpath "$work")" path_SAVE_DIR \
  "$(winpath "$designs")" >/dev/null || fail "sl_setting did not write the saving folder"

canvas_top() { shot "$work/probe.png" && client_top "$work/probe.png" $((mx + 1200)); }
open_program() {   # open_program <title pattern>: sets pid, main, mx and cy
  start_program "$1"
  read -r mx _ <<<"$(window_geometry "$main")"
  cy=$(wait_for 15 canvas_top) || fail "no canvas below the caption"
}
home_load() { click_home 1028; }
home_save() { click_home 1029; }
window_name() { xdotool getwindowname "$main" 2>/dev/null; }
titled_with() { case "$(window_name)" in *"$1"*) echo yes ;; esac; }

# --- Save into the folder below the hidden one ---------------------------------------------
open_program '^Untitled - Sugarleaf Studio$'
home_save
dlg=$(wait_dialog '^Save the design as$' "Save on a new design did not open \"Files\"" "$shots/files-hidden-save.png")
files_type_name "$dlg" cake
wait_no_window 20 '^Save the design as$' || fail "OK with the name cake did not end the dialog"
[ -f "$designs/cake.ktb" ] || fail "no cake.ktb below the hidden folder; it holds: $(ls -A "$designs")"
wait_for 10 titled_with 'designs\cake.ktb - Sugarleaf Studio' >/dev/null \
  || fail "the window title is not the design's path: $(window_name)"
echo "saved: $(window_name)"
close_program

# --- A new start loads it from there -------------------------------------------------------
open_program '^Untitled - Sugarleaf Studio$'
home_load
dlg=$(wait_dialog '^Open a design$' "Load did not open \"Files\"")
# The list loads in the background: a pick before it shows the design does nothing (OK
# without a name), so the pick is tried again, a bounded number of times.
opened=""
for _ in 1 2 3 4 5 6; do
  shot "$shots/files-hidden-open.png"
  files_pick_first "$dlg"
  if wait_no_window 5 '^Open a design$'; then opened=1; break; fi
done
[ -n "$opened" ] || fail "picking the first design and OK did not end the dialog"
wait_for 15 titled_with 'designs\cake.ktb - Sugarleaf Studio' >/dev/null \
  || fail "the opened design's path is not the title: $(window_name)"
echo "opened: $(window_name)"
close_program
echo "files below a hidden folder: saved and opened; screenshots in $shots"
