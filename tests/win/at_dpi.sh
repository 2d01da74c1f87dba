#!/usr/bin/env bash
# Runs the Windows tests of the suites named AtEachDpi with the Wine prefix
# set to the given DPI, which they are told in VARNOLT_DPI. Wine draws a
# program at the DPI of its prefix, read when the program starts.
# The prefix is the suite's own, made with no DPI set (Wine's 96): a DPI
# found in it was left by a run of this script that could not finish, and is
# never taken for the prefix's. However this script ends, it removes the DPI
# it set. Only a kill -9 cannot be answered, and ctest sends one to the whole
# process tree at a test's time limit (180 s): the tests get a limit of
# their own below it.
# Usage: at_dpi.sh DPI path/to/varnolt_win_tests.exe (DISPLAY and WINEPREFIX set).
set -uo pipefail
key='HKCU\Control Panel\Desktop'
limit=150
output=$(mktemp)
tests=""
put_back() {
  [[ -n "$tests" ]] && { kill "$tests" 2>/dev/null; wait "$tests"; }
  wine reg delete "$key" /v LogPixels /f >/dev/null 2>&1
  rm -f "$output"
}
trap put_back EXIT
trap 'exit 130' INT
trap 'exit 143' TERM HUP
wine reg add "$key" /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1 || { echo "cannot set $1 DPI"; exit 1; }
# Waited for in the background, so that a signal is answered at once.
VARNOLT_DPI="$1" timeout -k 5 "$limit" wine "$2" --gtest_filter='*AtEachDpi.*' >"$output" 2>&1 &
tests=$!
wait "$tests"
code=$?
tests=""
cat "$output"
[[ $code -eq 124 ]] && echo "the tests did not end within $limit s"
[[ $code -eq 0 ]] && grep -qE '\[  PASSED  \] [1-9]' "$output"
