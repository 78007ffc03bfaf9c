# Sourced: starts Xvfb on a free display and exports DISPLAY; sl_xvfb_stop ends it.
sl_xvfb_start() {
  local geom="${1:-1280x1024x24}" n=90
  while [ -e /tmp/.X$n-lock ] || [ -e /tmp/.X11-unix/X$n ]; do n=$((n+1)); done
  Xvfb :$n -screen 0 "$geom" -nolisten tcp >/dev/null 2>&1 &
  SL_XVFB_PID=$!
  export DISPLAY=:$n
  for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && return 0; sleep 0.1; done
  echo "Xvfb did not start" >&2; return 1
}
sl_xvfb_stop() {
  [ -n "${SL_XVFB_PID:-}" ] && kill "$SL_XVFB_PID" 2>/dev/null && wait "$SL_XVFB_PID" 2>/dev/null
  SL_XVFB_PID=""
}
