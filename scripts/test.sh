#!/bin/bash
# Builds everything and runs every test under Wine, for every target this machine runs
# (both where both run); fails when any target fails.  Usage: scripts/test.sh [build-folder]
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD=$(realpath -m "${1:-$ROOT/build}")
"$ROOT/scripts/setup.sh" "$BUILD"
read -r -a targets < "$BUILD/targets"
build_only=()
[ -f "$BUILD/build-only-targets" ] && read -r -a build_only < "$BUILD/build-only-targets"
[ ${#targets[@]} -eq 2 ] || echo "test: only the ${targets[0]}-bit target runs on this machine; testing that one"

. "$ROOT/scripts/targets.sh"
. "$ROOT/scripts/xvfb.sh"
. "$ROOT/scripts/printer.sh"
base_path=$PATH

# Every target is built before any is tested: each suite also reads what the other writes.
# A target this machine cannot run is built too, with the same warnings as errors.
for t in "${targets[@]}" "${build_only[@]}"; do
  cmake --build "$(sl_target_dir "$BUILD" "$t")" -j"$(nproc)"
done

# One target's whole suite on a virtual display with its own print server.
test_target() {   # test_target <32|64>
  local t=$1 dir rc
  dir=$(sl_target_dir "$BUILD" "$t")
  PATH=$base_path
  sl_wine_env "$dir"
  trap 'wineserver -k 2>/dev/null || true; sl_printer_stop; sl_xvfb_stop' EXIT
  sl_xvfb_start
  # A print server that cannot print stops the run here, with its own error line.
  if ! sl_printer_start "$dir"; then
    sl_xvfb_stop
    trap - EXIT
    return 1
  fi
  # The second test queue (A4 and A3 only) before any test starts, so that every test that
  # looks for it finds it, whichever starts first.
  if [ -n "${CUPS_SERVER:-}" ]; then
    lpadmin -p Cake_A4A3 -E -v "file://$dir/printer/Cake_A4A3.pdf" \
      -P "$ROOT/app/tests/scripts/print_a4a3.ppd" 2>/dev/null || true
  fi
  # The tests know that this command runs them with its print server and queues: a test
  # that finds a queue missing then fails instead of skipping.
  export SL_TEST_COMMAND=1
  # One persistent server for the target's run: each exe then starts in a fraction of a second.
  wineserver -p
  wine wineboot >/dev/null 2>&1 || true
  # Every test writes into folders of its own: the Wine user's Documents folder, where the
  # dialogs first open, holds nothing new afterwards.
  local docs before after left
  docs=$(sl_wine_documents "$dir")
  before=$(ls -A "$docs" 2>/dev/null | sort || true)
  set +e
  (cd "$dir" && ctest --output-on-failure -j"$(nproc)" --timeout 600)
  rc=$?
  set -e
  after=$(ls -A "$docs" 2>/dev/null | sort || true)
  left=$(comm -13 <(echo "$before") <(echo "$after"))
  if [ -n "$left" ]; then
    echo "test: the tests left in the Wine user's Documents folder ($docs):" $left
    rc=1
  fi
  wineserver -k 2>/dev/null || true
  wineserver -w 2>/dev/null || true
  sl_printer_stop
  sl_xvfb_stop
  trap - EXIT
  return $rc
}

results=()
failed=0
for t in "${targets[@]}"; do
  echo "===== ${t}-bit target ($(sl_target_dir "$BUILD" "$t")) ====="
  rc=0
  test_target "$t" > >(sed -u "s/^/[win$t] /") 2>&1 || rc=$?
  wait
  if [ $rc -eq 0 ]; then results+=("${t}-bit: passed"); else results+=("${t}-bit: FAILED"); failed=1; fi
done
if [ ${#build_only[@]} -gt 0 ]; then
  sl_probe_targets
  for t in "${build_only[@]}"; do
    results+=("${t}-bit: built, not run")
    echo "test: the ${t}-bit target was built but not run: $SL_TARGETS_WHY"
  done
fi
echo "test: ${results[*]}"
exit $failed
