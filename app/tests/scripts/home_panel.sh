#!/bin/bash
# The home panel of the real program, used as a person uses it, in English and French: ten
# skinned buttons on the panel blue RGB(66, 154, 252), no web button below Settings, the
# pointer resting on Text shows its help bubble; from the panel's own buttons a person
# reaches the Background and Frame menus, the design wizard, "Files" to open and to save,
# the print dialog and the print preview (each left again).
set -eu   # no pipefail: awk stops reading the pixel lists early
. "$(dirname "$0")/program_lib.sh"

border=74B8FF   # the one-pixel frame of each home button and of a tool menu
cp -r "$SL_BINARY_DIR/data/help" "$work/"
setting() { "$SL_BINARY_DIR/wine-run" "$SL_BINARY_DIR/tools/sl_setting.exe" "$(winpath "$work")" "$@" >/dev/null; }

# Rising edges of the button frame's colour down column x of the client: two per button.
frame_edges() {   # frame_edges <png> <client top> <x>
  convert "$1" -crop "1x760+$3+$2" +repage txt:- \
    | awk 'NR > 1 { hit = index($0, "#74B8FF") > 0; if (hit && !prev) n++; prev = hit } END { print n + 0 }'
}
# The panel once it shows its last button (Settings): "client top, Settings row".
panel_ready() {   # panel_ready <png>
  local top row
  shot "$1"
  top=$(client_top "$1" $((mx + 600)))
  [ -n "$top" ] && row=$(home_button "$1" "$top" 1032) && [ -n "$row" ] && echo "$top $row"
}
visible_ids() { xdotool search --onlyvisible --name '' 2>/dev/null | sort; }
new_window() { comm -13 <(echo "$before_ids") <(visible_ids) | head -1; }

check_panel() {   # check_panel <language>
  local png="$shots/home-panel-$1.png" found srow edges below
  start_program 'Sugarleaf Studio$'
  read -r mx my mw mh <<<"$(window_geometry "$main")"
  found=$(wait_for 30 panel_ready "$png") || fail "$1: the home panel never showed its Settings button"
  read -r ctop srow <<<"$found"
  edges=$(frame_edges "$png" "$ctop" $((mx + 20)))
  echo "$1: $edges frame edges down the panel, Settings at row $srow"
  [ "$edges" -eq 20 ] || fail "$1: $edges button frame edges, not the 20 of ten buttons (a web button?)"
  # The panel blue beside the buttons, above the first and below the last.
  for y in 2 $((srow + 70)); do
    [ "$(pixel "$png" $((mx + 2)) $((ctop + y)))" = "429AFC" ] || fail "$1: not the panel blue at row $y"
  done
  below=$(pixel "$png" $((mx + 40)) $((ctop + srow + 80)))
  [ "$below" = "429AFC" ] || fail "$1: something below Settings ($below): the web button shows"
  convert "$png" -crop "110x$((srow + 100))+$((mx > 0 ? mx : 0))+$ctop" +repage "$shots/home-panel-$1-crop.png"

  # The pointer resting on Text shows its bubble.
  local trow tip bx by bw bh
  trow=$(home_button "$png" "$ctop" 1038)
  before_ids=$(visible_ids)
  xdotool mousemove $((mx + 40)) $((ctop + trow + 20)) sleep 0.2 mousemove $((mx + 42)) $((ctop + trow + 22))
  tip=$(wait_for 15 new_window) || fail "$1: no bubble over Text"
  rm -f "$work/painted.sum"
  wait_for 10 painted "$tip" "$shots/home-text-bubble-$1.png" >/dev/null || fail "$1: the bubble never painted"
  read -r bx by bw bh <<<"$(window_geometry "$tip")"
  echo "$1: bubble over Text at $bx,$by, $bw x $bh"
  [ "$bw" -gt 60 ] && [ "$bh" -gt 40 ] || fail "$1: the bubble is only $bw x $bh"
  xdotool mousemove $((mx + 600)) $((ctop + 300))
}

# --- 1. English: the panel, the bubble, and every button's road -----------------------
setting printer cake_pdf
check_panel english

menu_box() { shot "$work/menu.png"; colour_box "$work/menu.png" "$border"; }
for button in 1090:Background 1040:Frame; do
  click_home "${button%%:*}"
  box=$(wait_for 20 menu_box) || fail "no ${button#*:} menu after its button"
  echo "${button#*:} menu at $box"
done
cp "$work/menu.png" "$shots/home-frame-menu.png"
# Images, Text and Settings: the switcher hides the menu (their own hosts come with their
# screens).
for id in 1022 1038 1032; do
  click_home "$id"
  menu_gone() { shot "$work/menu.png"; [ -z "$(colour_box "$work/menu.png" "$border")" ] && echo gone; }
  wait_for 20 menu_gone >/dev/null || fail "the Frame menu stayed after button $id"
  kill -0 "$pid" 2>/dev/null || fail "the program ended after button $id"
done
# The dialogs, each left with Escape.
for road in '1027:^Design Wizard$' '1028:^Open a design$' '1029:^Save the design as$'; do
  click_home "${road%%:*}"
  dlg=$(wait_dialog "${road#*:}" "button ${road%%:*} opened no '${road#*:}'" "$shots/home-road-${road%%:*}.png")
  answer_dialog "$dlg" "${road#*:}" Escape
done
# Print: the print dialog (the printer of the settings is the PDF queue).
before_ids=$(visible_ids)
click_home 1039
dlg=$(wait_for 20 new_window) || fail "Print showed no print dialog"
rm -f "$work/painted.sum"
wait_for 10 painted "$dlg" "$shots/home-print-dialog.png" >/dev/null || true
echo "print dialog: $(xdotool getwindowname "$dlg")"
focus_window "$dlg"
xdotool key Escape
dialog_gone() { visible_ids | grep -qx "$dlg" || echo gone; }
wait_for 15 dialog_gone >/dev/null || fail "the print dialog did not close"
# Preview: the preview replaces the canvas (the canvas blue right of the sheet goes grey).
click_home 1193
preview_shown() { shot "$shots/home-preview.png"; [ "$(pixel "$shots/home-preview.png" $((mx + 1100)) $((my + mh / 2)))" != "429AFC" ] && echo yes; }
wait_for 30 preview_shown >/dev/null || fail "Preview showed no preview"
# Its tool bar's Close (the framework's bar: Close is the seventh button, 44 x 12 units at 278, 2).
click_at $((mx + 469)) $((ctop + 12))
canvas_back() { shot "$work/back.png"; [ "$(pixel "$work/back.png" $((mx + 1100)) $((my + mh / 2)))" = "429AFC" ] && echo yes; }
wait_for 30 canvas_back >/dev/null || fail "Close did not end the preview"
close_program

# --- 2. French -----------------------------------------------------------------------------
rm -f "$work/ziviz.dat"
setting language french
check_panel french
close_program
echo "home panel in English and French, bubble over Text, every road from its buttons; screenshots in $shots"
