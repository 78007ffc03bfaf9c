# Sourced by the test scripts that run tests of a test executable or print.
#
# A script that runs one test (it writes a file for an independent reader, or prints a
# job) passes only when that very test ran and passed, so a filter that matches nothing,
# or a test that skips, fails it.  Needs SL_BINARY_DIR (the target's build folder).

# run_one_test <exe> <Suite.Name> [arguments...]: runs it under this target's Wine from
# the current folder; prints the test's output when it did not run and pass.
run_one_test() {
  local exe=$1 name=$2 log rc=0
  shift 2
  log=$(mktemp)
  "$SL_BINARY_DIR/wine-run" "$exe" --gtest_color=no --gtest_filter="$name" "$@" >"$log" 2>&1 || rc=$?
  if [ "$rc" -ne 0 ] || ! grep -qF "[       OK ] $name (" "$log"; then
    cat "$log"
    rm -f "$log"
    echo "FAIL: the test $name did not run and pass (exit code $rc)" >&2
    return 1
  fi
  rm -f "$log"
}

# require_print_queue <queue>: returns when the queue exists.  The test command starts its
# print server with the queue (and says so in SL_TEST_COMMAND), so there a missing queue
# fails the script; run by hand, it is skipped (exit 77) with how to run it properly.
require_print_queue() {
  lpstat -p "$1" >/dev/null 2>&1 && return 0
  if [ -n "${SL_TEST_COMMAND:-}" ]; then
    echo "FAIL: no print queue \"$1\": the test command starts its print server with it, so the server or the print road is broken"
    exit 1
  fi
  echo "no print queue \"$1\": run this under the test command (make test), which starts a print server with the test queues"
  exit 77
}

# make_unwritable <folder>: makes the folder unwritable for the test program, or fails the
# script.  Root ignores permission bits, so the immutable attribute is used where the file
# system and the container allow it; otherwise the program runs without the capability that
# overrides permissions, in a copy of the Wine prefix (so with a Wine server of its own,
# started without it too), and the folder loses its write bits.  A folder still writable
# under the chosen way fails: the test could not see what it checks.  Sets SL_RO_WINE_RUN
# (the wine-run to use) and SL_RO_RUNNER (the command prefix); unwritable_cleanup undoes it.
SL_RO_OWN=""
SL_RO_DIR=""
SL_RO_RUNNER=()
make_unwritable() {
  SL_RO_DIR=$1
  SL_RO_WINE_RUN="$SL_BINARY_DIR/wine-run"
  if [ "$(id -u)" -eq 0 ] && chattr +i "$SL_RO_DIR" 2>/dev/null; then
    echo "the folder is immutable"
  elif [ "$(id -u)" -eq 0 ]; then
    chmod a-w "$SL_RO_DIR"
    SL_RO_OWN=$(mktemp -d)
    cp -a "$SL_BINARY_DIR/wine" "$SL_RO_OWN/wine"
    sed "s|$SL_BINARY_DIR/wine\"|$SL_RO_OWN/wine\"|" "$SL_BINARY_DIR/wine-run" >"$SL_RO_OWN/wine-run"
    chmod +x "$SL_RO_OWN/wine-run"
    grep -q "$SL_RO_OWN/wine" "$SL_RO_OWN/wine-run" || { echo "FAIL: no wine-run of the copied prefix"; exit 1; }
    SL_RO_WINE_RUN="$SL_RO_OWN/wine-run"
    SL_RO_RUNNER=(setpriv --bounding-set=-dac_override,-dac_read_search --inh-caps=-dac_override,-dac_read_search)
    echo "the folder has no write bits; the test runs without overriding them"
  else
    chmod a-w "$SL_RO_DIR"
    echo "the folder has no write bits"
  fi
  if "${SL_RO_RUNNER[@]}" touch "$SL_RO_DIR/probe" 2>/dev/null; then
    echo "FAIL: the folder can still be written, so the test cannot see what it checks"
    exit 1
  fi
}
unwritable_cleanup() {
  if [ -n "$SL_RO_DIR" ]; then
    chattr -i "$SL_RO_DIR" 2>/dev/null || true
    chmod u+w "$SL_RO_DIR" 2>/dev/null || true
  fi
  if [ -n "$SL_RO_OWN" ]; then
    WINEPREFIX="$SL_RO_OWN/wine" wineserver -k 2>/dev/null || true
    rm -rf "$SL_RO_OWN"
  fi
}

# run_one_unwritable <exe> <Suite.Name>: run_one_test through what make_unwritable chose.
run_one_unwritable() {
  local exe=$1 name=$2 log rc=0
  log=$(mktemp)
  "${SL_RO_RUNNER[@]}" "$SL_RO_WINE_RUN" "$exe" --gtest_color=no --gtest_filter="$name" >"$log" 2>&1 || rc=$?
  if [ "$rc" -ne 0 ] || ! grep -qF "[       OK ] $name (" "$log"; then
    cat "$log"
    rm -f "$log"
    echo "FAIL: the test $name did not run and pass (exit code $rc)" >&2
    return 1
  fi
  rm -f "$log"
}
