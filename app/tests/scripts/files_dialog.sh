#!/bin/bash
# The dialog "Files" of the real program, used as a person uses it: the home panel's Save
# on a never-saved design asks for a place (title "Save the design as"); the name "cake"
# and OK write cake.ktb in the saving folder (read back by python olefile), the window
# title becomes the path, nothing asks when the program closes, and the saving folder
# follows into the settings file.  Save again shows the design's preview.  Load over a
# changed design asks "Save Changes" first (Cancel there opens nothing; No goes on), then
# shows the folder's designs as thumbnails; picking cake.ktb and OK opens it (its image on
# the canvas where it was saved, its path as title).
set -eu   # no pipefail: awk stops reading the pixel lists early
. "$(dirname "$0")/program_lib.sh"

pale_yellow=FFFFC0
mkdir -p "$work/SAVE_DIR"
cp -r "$SL_BINARY_DIR/data/help" "$work/"

canvas_top() { shot "$work/probe.png" && client_top "$work/probe.png" $((mx + 1200)); }
# Starts the program (on a design) and waits for its canvas: sets pid, main, mx and cy.
open_program() {   # open_program <title pattern> [design]
  local title=$1; shift
  start_program "$title" "$@"
  read -r mx _ <<<"$(window_geometry "$main")"
  cy=$(wait_for 15 canvas_top) || fail "no canvas below the caption"
}
home_load() { click_home 1028; }
home_save() { click_home 1029; }
window_name() { xdotool getwindowname "$main" 2>/dev/null; }
titled_with() { case "$(window_name)" in *"$1"*) echo yes ;; esac; }
ole_streams() {   # ole_streams <file>: the stream names, one a line
  /usr/bin/python3 - "$1" <<'PY'
import olefile, sys
for entry in olefile.OleFileIO(sys.argv[1]).listdir():
    print("/".join(entry))
PY
}

# --- 1. Save on a never-saved design: mode 2, a typed name, OK --------------------------
open_program '^Untitled - Sugarleaf Studio$'
home_save
dlg=$(wait_dialog '^Save the design as$' "Save on a new design did not open \"Files\" in mode 2" "$shots/files-save-as.png")
files_type_name "$dlg" cake
wait_no_window 20 '^Save the design as$' || fail "OK with the name cake did not end the dialog"
[ -f "$work/SAVE_DIR/cake.ktb" ] || fail "no cake.ktb in the saving folder: $(ls "$work/SAVE_DIR")"
streams=$(ole_streams "$work/SAVE_DIR/cake.ktb") || fail "olefile cannot read cake.ktb"
echo "$streams" | grep -qx CakeData || fail "cake.ktb has no CakeData stream: $streams"
echo "$streams" | grep -qx Thumbnail || fail "cake.ktb has no Thumbnail stream: $streams"
wait_for 10 titled_with 'save_dir\cake.ktb - Sugarleaf Studio' >/dev/null \
  || fail "the window title is not the design's path: $(window_name)"
echo "saved: $(window_name)"

# --- 2. Save again: mode 1 with the preview of the sheet ---------------------------------
home_save
dlg=$(wait_dialog '^Save the design$' "Save on a saved design did not open \"Files\" in mode 1" "$shots/files-preview.png")
files_client "$dlg"
# The preview's area is the client less 70, 10, 70 and 100: the white sheet at its middle.
px=$((fx0 + fw / 2)); py=$((ftop + 10 + (fbottom - ftop - 110) / 2))
centre=$(pixel "$shots/files-preview.png" "$px" "$py")
beside=$(pixel "$shots/files-preview.png" $((fx0 + 72)) "$py")
echo "preview: $centre at the middle, $beside at the area's left edge"
[ "$centre" != "$pale_yellow" ] || fail "no sheet in the preview"
[ "$beside" = "$pale_yellow" ] || fail "the dialog is not pale yellow beside the sheet ($beside)"
answer_dialog "$dlg" '^Save the design$' Escape

# Saved: closing asks nothing; the saving folder went into the settings file.
close_program
saved_dir=$(setting_of "$work/ziviz.dat" path_SAVE_DIR)
echo "path_SAVE_DIR = $saved_dir"
case "$saved_dir" in *[Ss][Aa][Vv][Ee]_[Dd][Ii][Rr]*) ;; *) fail "the saving folder did not follow: '$saved_dir'" ;; esac

# --- 3. Load over a changed design: "Save Changes", the thumbnails, cake.ktb opened -----
# cake.ktb now holds one image (200, 40, 40); opened from the command line and saved with
# Ctrl+S it gets the thumbnail the pane shows.
"$SL_BINARY_DIR/wine-run" "$SL_BINARY_DIR/tools/sl_design.exe" write-one-image "$(winpath "$work/SAVE_DIR/cake.ktb")" \
  || fail "sl_design wrote no design"
open_program "$(design_title "$work/SAVE_DIR/cake.ktb")" "$(winpath "$work/SAVE_DIR/cake.ktb")"
shown() { shot "$work/probe.png"; image_box "$work/probe.png"; }
box=$(wait_for 20 shown) || fail "cake.ktb's image is not on the canvas"
take_focus "$main"
xdotool key ctrl+s
has_thumbnail() { ole_streams "$work/SAVE_DIR/cake.ktb" 2>/dev/null | grep -x Thumbnail; }
wait_for 20 has_thumbnail >/dev/null || fail "Ctrl+S left no thumbnail in cake.ktb"
# Unchanged, Load opens the dialog at once (the control of the question below).
home_load
dlg=$(wait_dialog '^Open a design$' "Load did not open \"Files\" in mode 0")
[ -z "$(windows_titled '^Save Changes$')" ] || fail "an unchanged design asked Save Changes"
answer_dialog "$dlg" '^Open a design$' Escape

# Changed: its image dragged with the image tool.
read -r x0 y0 x1 y1 <<<"$box"
click_home 1022   # Images
wait_for 15 handle_at "$x0" "$y0" '#000000' >/dev/null || fail "no handles after the Images button"
drag_mouse $(((x0 + x1) / 2)) $(((y0 + y1) / 2)) 120 60 6 0.2 0.05 0.05
moved() { b=$(shown) && [ -n "$b" ] && [ "$b" != "$box" ] && echo "$b"; }
wait_for 15 moved >/dev/null || fail "the drag did not move the image"

home_load
ask=$(wait_dialog '^Save Changes$' "Load over a changed design did not ask \"Save Changes\"" "$shots/files-load-asks.png")
answer_dialog "$ask" '^Save Changes$' Escape   # Cancel: nothing opens
if wait_window 3 '^Open a design$' >/dev/null; then
  fail "Cancel in Save Changes still opened the dialog"
fi
home_load
ask=$(wait_dialog '^Save Changes$' "Load asked only once")
take_focus "$ask"
xdotool key Tab space   # from Yes to No
dlg=$(wait_dialog '^Open a design$' "No to Save Changes did not open \"Files\" in mode 0")
# The pane shows the saving folder's design: cake.ktb's thumbnail with its image's colour.
thumb_box() {
  local x y w h b
  shot "$shots/files-open-thumbnails.png"
  read -r x y w h <<<"$(window_geometry "$dlg")"
  b=$(convert "$shots/files-open-thumbnails.png" -crop "${w}x${h}+$x+$y" +repage -fill black +opaque "#C82828" \
      -fill white -opaque "#C82828" -format '%@' info:)
  [ -n "$b" ] && [ "$b" != "0x0+0+0" ] && echo "$b $x $y"
}
found=$(wait_for 30 thumb_box) || fail "no design thumbnail in the Files dialog"
read -r tbox tx0 ty0 <<<"$found"
read -r tw th tx ty <<<"$(echo "$tbox" | tr 'x+' '  ')"
echo "thumbnail of cake.ktb at ${tw}x$th+$((tx0 + tx))+$((ty0 + ty))"
click_at $((tx0 + tx + tw / 2)) $((ty0 + ty + th / 2))
xdotool key Return
wait_no_window 20 '^Open a design$' || fail "picking cake.ktb and OK did not end the dialog"
wait_for 15 titled_with 'save_dir\cake.ktb - Sugarleaf Studio' >/dev/null \
  || fail "the opened design's path is not the title: $(window_name)"
# Opened as saved: the image where it was before the drag that No dropped.
as_saved() { b=$(shown) && [ "$b" = "$box" ] && echo "$b"; }
wait_for 15 as_saved >/dev/null || fail "cake.ktb's image is not where it was saved ($(shown), saved $box)"
cp "$work/probe.png" "$shots/files-opened.png"
echo "cake.ktb opened: $(window_name), its image at $box"
# Opened, nothing changed: closing asks nothing.
close_program
echo "files dialog: save as, preview, load; screenshots in $shots"
