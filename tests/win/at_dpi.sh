#!/usr/bin/env bash
# Runs the Windows tests of the suites named AtEachDpi with the Wine prefix
# set to the given DPI, which they are told in VARNOLT_DPI. Wine draws a
# program at the DPI of its prefix, read when the program starts; the prefix
# gets its own DPI back at the end (96 where it had none).
# Usage: at_dpi.sh DPI path/to/varnolt_win_tests.exe (DISPLAY and WINEPREFIX set).
set -uo pipefail
key='HKCU\Control Panel\Desktop'
before=$(wine reg query "$key" /v LogPixels 2>/dev/null | grep -o '0x[0-9a-f]*')
wine reg add "$key" /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1 || { echo "cannot set $1 DPI"; exit 1; }
output=$(VARNOLT_DPI="$1" wine "$2" --gtest_filter='*AtEachDpi.*' 2>&1)
code=$?
wine reg add "$key" /v LogPixels /t REG_DWORD /d $((${before:-96})) /f >/dev/null 2>&1
echo "$output"
[[ $code -eq 0 ]] && grep -qE '\[  PASSED  \] [1-9]' <<<"$output"
