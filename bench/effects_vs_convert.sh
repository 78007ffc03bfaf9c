#!/bin/bash
# The effect library beside ImageMagick on the same picture: effects_bench.exe writes its
# 4000 x 3000 photograph-like picture as a BMP, which becomes an MPC copy (ImageMagick's own
# pixel cache, read without decoding); then, in one run, the benchmark prints its figures and
# convert times the nearest operation of each effect on the MPC copy, net of a run that only
# reads it, best of 3, on one thread and on all.  Prints one table.  Runs on its own virtual
# display.
#   bench/effects_vs_convert.sh [build-target-folder] [width] [height]
#   defaults: build/win64 4000 3000
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD=$(realpath "${1:-$ROOT/build/win64}")
WIDTH=${2:-4000}
HEIGHT=${3:-3000}
CONVERT=/usr/bin/convert
[ -x "$BUILD/wine-run" ] && [ -f "$BUILD/bench/effects_bench.exe" ] || {
  echo "no built benchmark in $BUILD: run make build first" >&2; exit 1; }
[ -x "$CONVERT" ] || { echo "ImageMagick's convert is not installed" >&2; exit 1; }
. "$ROOT/scripts/xvfb.sh"
mkdir -p "$BUILD/testdata"
out=$(mktemp -d)
cleanup() { rm -rf "$out"; WINEPREFIX="$BUILD/wine" wineserver -k 2>/dev/null || true; sl_xvfb_stop; }
trap cleanup EXIT
sl_xvfb_start

(cd "$BUILD/testdata" && ../wine-run ../bench/effects_bench.exe --write effects_bench.bmp "$WIDTH" "$HEIGHT") >/dev/null
"$CONVERT" "$BUILD/testdata/effects_bench.bmp" "$out/photo.mpc"

(cd "$BUILD/testdata" && ../wine-run ../bench/effects_bench.exe "$WIDTH" "$HEIGHT") > "$out/ours.txt"

# Best of 3 wall-clock milliseconds of convert with the given operation (none: read only).
best_ms() {   # best_ms <threads: 1 or all> [operation...]
  local threads=$1 best="" start end ms
  shift
  local limit=()
  [ "$threads" = 1 ] && limit=(-limit thread 1)
  for _ in 1 2 3; do
    start=$(date +%s%N)
    "$CONVERT" "${limit[@]}" "$out/photo.mpc" "$@" null:
    end=$(date +%s%N)
    ms=$(( (end - start) / 1000000 ))
    if [ -z "$best" ] || [ "$ms" -lt "$best" ]; then best=$ms; fi
  done
  echo "$best"
}

# Our effect (as the benchmark names it) and ImageMagick's nearest operation.
names=("DibBlur3x3" "DibSepia" "DibGamma 2.0" "DibThreshold" "DibSwirl 100" "DibMotionBlur 45, 5"
       "DibUnsharpMask 2, 1.0" "DibOilPaint 3" "DibFlip vertical")
ops=("-define convolve:scale=! -morphology Convolve Square:1" "-sepia-tone 80%" "-gamma 2.0"
     "-threshold 50%" "-swirl 100" "-motion-blur 5x5+45" "-unsharp 2x1+1+0" "-paint 3" "-flip")

base1=$(best_ms 1)
baseall=$(best_ms all)
printf "Effects on %d x %d: milliseconds, best of 3 (ImageMagick net of reading its MPC copy: %d ms on one thread, %d ms on all)\n" \
  "$WIDTH" "$HEIGHT" "$base1" "$baseall"
echo "ImageMagick: $("$CONVERT" -version | head -1 | cut -d' ' -f2-4); Debian's build works in 16 bits per channel (Q16), ours in 8"
printf "%-24s %10s %16s %16s  %s\n" "effect" "ours" "IM 1 thread" "IM all threads" "ImageMagick operation"
for i in "${!names[@]}"; do
  name=${names[$i]}
  ours=$(awk -v n="$name" 'substr($0, 1, length(n)) == n && substr($0, length(n) + 1, 1) == " " { print $(NF - 1) }' "$out/ours.txt")
  read -r -a op <<< "${ops[$i]}"
  one=$(( $(best_ms 1 "${op[@]}") - base1 ))
  all=$(( $(best_ms all "${op[@]}") - baseall ))
  printf "%-24s %10s %16d %16d  %s\n" "$name" "${ours:-?}" "$one" "$all" "${ops[$i]}"
done
