#!/usr/bin/env bash
# at_dpi.sh ended by a signal while its program runs, after an earlier run
# had left another DPI in the prefix, leaves the prefix without a DPI of its
# own, as it was made, and its program ended. The program stands for the
# tests: it shows a window once the DPI is set, and waits.
# Usage: dpi_left_by_killed_run.sh path/to/varnolt.exe (DISPLAY and WINEPREFIX set).
set -uo pipefail
key='HKCU\Control Panel\Desktop'
dpi() { wine reg query "$key" /v LogPixels 2>/dev/null | grep -o '0x[0-9a-f]*'; }
shown() { xdotool search --onlyvisible --name '^Varnolt$' 2>/dev/null; }
fail() {
    echo "FAIL: $*"
    kill "$run" 2>/dev/null
    for w in $(shown); do kill "$(xdotool getwindowpid "$w")"; done
    wine reg delete "$key" /v LogPixels /f >/dev/null 2>&1
    exit 1
}

wine reg add "$key" /v LogPixels /t REG_DWORD /d 120 /f >/dev/null 2>&1
bash "$(dirname "$0")/at_dpi.sh" 192 "$1" >/dev/null &
run=$!
timeout 60 xdotool search --sync --onlyvisible --name '^Varnolt$' >/dev/null 2>&1 && [[ "$(dpi)" == 0xc0 ]] \
    || fail "the program did not start at 192 DPI"
kill -TERM "$run"
timeout 20 tail --pid="$run" -f /dev/null || fail "the run did not end within 20 s of its TERM"
[[ -z "$(shown)" ]] || fail "the run ended, its program did not"
[[ -z "$(dpi)" ]] || fail "the run left the prefix at DPI $(dpi)"
echo "a run ended by TERM left the prefix as it was made"
