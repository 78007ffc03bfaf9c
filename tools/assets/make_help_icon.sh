#!/bin/bash
# Draws the help topic window's icon (resource 393): a white question mark on a rose disc,
# 32 x 32 and 16 x 16.
# Usage: tools/assets/make_help_icon.sh [icon.ico]   (default res/periphery_help.ico)
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/../.." && pwd)
ICON=${1:-$ROOT/res/periphery_help.ico}
SANS=$(fc-match -f '%{file}' 'Liberation Sans:bold')
convert -size 32x32 xc:none \
  -fill '#c25b82' -stroke '#7b1f45' -strokewidth 1 -draw 'circle 16 16 16 2' \
  -font "$SANS" -pointsize 24 -stroke none -fill '#ffffff' -gravity center -annotate +0+1 '?' \
  \( +clone -resize 16x16 \) -colors 256 "$ICON"
