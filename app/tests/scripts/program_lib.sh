# Sourced by the tests that drive the real program on the virtual display: a work folder
# with the program and its language files, ended with the program; and the waits they share.
: "${SL_BINARY_DIR:?}" "${DISPLAY:?needs the virtual display}"
export WINEPREFIX="$SL_BINARY_DIR/wine"
shots="$SL_BINARY_DIR/screenshots"
mkdir -p "$shots"
work=$(mktemp -d)
pid=""
cleanup() {
  [ -n "$pid" ] && kill "$pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
cp "$SL_BINARY_DIR/data/SugarleafStudio.exe" "$SL_BINARY_DIR"/data/*.ini "$work/"

fail() { echo "FAIL: $*" >&2; exit 1; }
wait_for() {   # wait_for <seconds> <command...>: until the command prints something
  local end=$((SECONDS + $1)); shift
  while [ $SECONDS -lt $end ]; do
    out=$("$@" || true)
    [ -n "$out" ] && { echo "$out"; return 0; }
    sleep 0.2
  done
  return 1
}
# Prints "gone" once no visible 640 x 480 window (the splash) is left.
splash_gone() {
  local id
  for id in $(xdotool search --onlyvisible --name '' 2>/dev/null); do
    xdotool getwindowgeometry "$id" 2>/dev/null | grep -q "Geometry: 640x480" && return 0
  done
  echo gone
}
