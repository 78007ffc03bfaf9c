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
