#!/bin/bash
# Draws the splash bitmap (resource 929): 640 x 480, 8 bits per pixel with a colour
# table, showing the program's name over a cake, and the program's icon.
# Usage: tools/assets/make_splash.sh [splash.bmp [icon.ico]]   (default res/splash.bmp, res/app.ico)
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/../.." && pwd)
OUT=${1:-$ROOT/res/splash.bmp}
SANS=$(fc-match -f '%{file}' 'Liberation Sans:bold')
SERIF=$(fc-match -f '%{file}' 'Liberation Serif:bold:italic')

convert -size 640x480 gradient:'#fde3ec-#f6a8c2' \
  -fill '#ffffff' -stroke '#c25b82' -strokewidth 3 \
  -draw 'ellipse 320 395 190 32 0 360' \
  -fill '#fff6e6' -stroke '#c25b82' -draw 'rectangle 150 310 490 395' \
  -stroke none -fill '#fff6e6' -draw 'ellipse 320 310 170 30 0 360' \
  -stroke '#c25b82' -fill none -draw 'ellipse 320 310 170 30 0 360' \
  -fill '#f48fb1' -stroke none -draw 'rectangle 152 345 488 360' \
  -fill '#e91e63' -draw 'circle 250 300 250 290' -draw 'circle 320 292 320 282' \
  -draw 'circle 390 300 390 290' \
  -fill '#4caf50' -draw 'ellipse 300 280 14 6 -30 210' -draw 'ellipse 342 280 14 6 -30 210' \
  -font "$SERIF" -pointsize 64 -fill '#7b1f45' -stroke '#ffffff' -strokewidth 2 \
  -gravity north -annotate +0+70 'Sugarleaf Studio' \
  -font "$SANS" -pointsize 20 -stroke none -fill '#7b1f45' \
  -annotate +0+160 'Designs for printed icing sheets' \
  -dither None -colors 256 -type Palette -compress None "BMP3:$OUT"

# The program's icon (resource 128): a small cake, 32 x 32 and 16 x 16.
ICON=${2:-$ROOT/res/app.ico}
convert -size 32x32 xc:none \
  -fill '#fff6e6' -stroke '#c25b82' -strokewidth 2 -draw 'rectangle 5 14 27 27' \
  -draw 'ellipse 16 14 11 4 0 360' -stroke none -fill '#f48fb1' -draw 'rectangle 6 20 26 22' \
  -fill '#e91e63' -draw 'circle 16 9 16 6' \
  \( +clone -resize 16x16 \) -colors 256 "$ICON"
