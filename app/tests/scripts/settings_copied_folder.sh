#!/bin/bash
# The program's folder copied after a first run, as a person copies an installation: the
# first run saves a design into its saving folder and, at close, its settings (their
# "root" and saving folder naming that first folder).  The copy's run saves a design into
# the copy's own saving folder and its settings into the copy; the first folder keeps every
# file exactly as it was.
set -eu   # no pipefail: awk stops reading the pixel lists early
. "$(dirname "$0")/program_lib.sh"

first=$work
copy="$work.copy"
trap 'cleanup; rm -rf "$first" "$copy"' EXIT
mkdir -p "$first/SAVE_DIR"

canvas_top() { shot "$work/probe.png" && client_top "$work/probe.png" $((mx + 1200)); }
# Starts the program in the work folder and waits for its canvas: sets pid, main, mx and cy.
open_program() {
  start_program '^Untitled - Sugarleaf Studio$'
  read -r mx _ <<<"$(window_geometry "$main")"
  cy=$(wait_for 15 canvas_top) || fail "no canvas below the caption"
}
# Home panel's Save on the new design, the name typed and OK: waits for the file.
save_as() {   # save_as <name> <png>
  local dlg
  click_home 1029   # Save
  dlg=$(wait_dialog '^Save the design as$' "Save did not open \"Files\"" "$2")
  files_type_name "$dlg" "$1"
  wait_no_window 20 '^Save the design as$' || fail "OK with the name $1 did not end the dialog"
}
# Every file of a folder with its checksum, one a line, in a fixed order.
contents() { (cd "$1" && find . -type f -print0 | sort -z | xargs -0 md5sum); }
lower() { tr '[:upper:]' '[:lower:]'; }

# --- 1. The first run: a design saved, the settings written at close ---------------------
open_program
save_as first "$shots/settings-first-save.png"
[ -f "$first/SAVE_DIR/first.ktb" ] || fail "the first run saved no first.ktb: $(ls "$first/SAVE_DIR")"
close_program
[ -f "$first/ziviz.dat" ] || fail "the first run wrote no settings"
stored_root=$(setting_of "$first/ziviz.dat" root)
echo "first run: root $stored_root, saving folder $(setting_of "$first/ziviz.dat" path_SAVE_DIR)"
[ "$(echo "$stored_root" | lower)" = "$(winpath "$first" | lower)" ] || fail "the first run's root is '$stored_root'"

# --- 2. The copy's run -------------------------------------------------------------------
cp -a "$first" "$copy"
before=$(contents "$first")
work=$copy   # the program starts in the copy; its probes go there too
open_program
save_as second "$shots/settings-copy-save.png"
[ -f "$copy/SAVE_DIR/second.ktb" ] || fail "the copy's design is not in the copy's saving folder: $(ls "$copy/SAVE_DIR")"
close_program
work=$first

# Nothing of the first folder changed: no design, no settings written there.
after=$(contents "$first")
if [ "$before" != "$after" ]; then
  diff <(echo "$before") <(echo "$after") >&2 || true
  fail "the copy's run wrote into the first folder"
fi
# The copy's settings name the copy.
root=$(setting_of "$copy/ziviz.dat" root)
saving=$(setting_of "$copy/ziviz.dat" path_SAVE_DIR)
echo "copy's run: root $root, saving folder $saving"
[ "$(echo "$root" | lower)" = "$(winpath "$copy" | lower)" ] || fail "the copy's settings name root '$root'"
case "$(echo "$saving" | lower)" in
  "$(winpath "$copy" | lower)"\\*) ;;
  *) fail "the copy's saving folder is '$saving'" ;;
esac
echo "the first folder is as it was; the copy's run wrote into the copy only"
