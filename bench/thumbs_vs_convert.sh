#!/bin/bash
# The thumbnail benchmark beside ImageMagick on the same files: thumbs_bench.exe makes (on
# first use) and browses a folder of JPEGs twice, first building its cache, then reading
# it; then ImageMagick's convert -thumbnail 125x125 makes the same thumbnails, one process
# per file as a shell loop runs it, and for reference mogrify in one process.  Prints files
# per second of each.  Runs on its own virtual display.
#   bench/thumbs_vs_convert.sh [build-target-folder] [count] [width] [height]
#   defaults: build/win64 200 3000 2000
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD=$(realpath "${1:-$ROOT/build/win64}")
COUNT=${2:-200}
WIDTH=${3:-3000}
HEIGHT=${4:-2000}
[ -x "$BUILD/wine-run" ] && [ -f "$BUILD/bench/thumbs_bench.exe" ] || {
  echo "no built benchmark in $BUILD: run make build first" >&2; exit 1; }
. "$ROOT/scripts/xvfb.sh"
work="$BUILD/testdata/thumbs_bench_files"
mkdir -p "$work"
out=$(mktemp -d)
cleanup() { rm -rf "$out"; WINEPREFIX="$BUILD/wine" wineserver -k 2>/dev/null || true; sl_xvfb_stop; }
trap cleanup EXIT
sl_xvfb_start

echo "== this program: thumbnail list, worker and cache =="
(cd "$BUILD/testdata" && ../wine-run ../bench/thumbs_bench.exe thumbs_bench_files "$COUNT" "$WIDTH" "$HEIGHT")

files=("$work"/photo*.jpg)
n=${#files[@]}
now() { date +%s.%N; }
echo "== ImageMagick ($(/usr/bin/convert -version | head -1 | cut -d' ' -f2-3)) on the same $n files =="
start=$(now)
for f in "${files[@]}"; do
  /usr/bin/convert "$f" -thumbnail 125x125 "$out/$(basename "$f")"
done
end=$(now)
mkdir "$out/m"
mstart=$(now)
/usr/bin/mogrify -path "$out/m" -thumbnail 125x125 "${files[@]}"
mend=$(now)
printf "%-28s %6s %9s %10s\n" "ImageMagick" "files" "seconds" "files/s"
awk -v n="$n" -v s="$start" -v e="$end" \
  'BEGIN { printf "%-28s %6d %9.2f %10.1f\n", "convert, a process per file", n, e - s, n / (e - s) }'
awk -v n="$n" -v s="$mstart" -v e="$mend" \
  'BEGIN { printf "%-28s %6d %9.2f %10.1f\n", "mogrify, one process", n, e - s, n / (e - s) }'
