#!/usr/bin/env bash
# The timer resolution that Play asks of the system, from the system's own
# timer capabilities under Wine (1 to 65535 ms there): 5 ms, raised once at
# Play, given as the first timer's resolution, and lowered once at Stop. Wine's
# relay trace of the program's calls into winmm shows the values passed (the
# prefix limits the trace to the multimedia timer calls, scripts/lib/wine.sh).
# Usage: play_timer_period.sh path/to/varnolt.exe (DISPLAY and WINEPREFIX set;
# WINEPREFIX with the recording driver as its sound driver).
set -uo pipefail
exe="$1"
here="$(cd "$(dirname "$0")" && pwd)"
shots="$(dirname "$exe")/play-shots"
source "$here/support/outside.sh"
record_midi "Varnolt recorder"
WINEDEBUG=-all,+relay wine "$exe" 2>"$work/relay.log" &
pid=$!
wait_window Varnolt >/dev/null
keys alt+r c alt+r p
for _ in $(seq 1 100); do grep -q ' data ' "$log" 2>/dev/null && break; sleep 0.05; done
grep -q ' data ' "$log" 2>/dev/null || fail "Play sent nothing to the MIDI driver"
keys alt+r s
close_program

calls() { grep -oE "Call winmm\.$1\([0-9a-f,]*" "$work/relay.log" | sed "s/.*(//"; }
[[ -n "$(calls timeGetDevCaps)" ]] || fail "no timeGetDevCaps in the relay trace: is the trace on?"
begun=$(calls timeBeginPeriod | tr '\n' ' ')
ended=$(calls timeEndPeriod | tr '\n' ' ')
first_timer=$(calls timeSetEvent | head -1)
echo "timeBeginPeriod: $begun; timeEndPeriod: $ended; first timeSetEvent(delay,resolution,...): $first_timer"
[[ "$begun" == "00000005 " ]] || fail "Play raised the timer resolution to $begun, not once to 5 ms"
[[ "$ended" == "00000005 " ]] || fail "Stop lowered the timer resolution from $ended, not once from 5 ms"
[[ "$first_timer" == 000003e8,00000005,* ]] || fail "the first timer was $first_timer, not 1000 ms at 5 ms"
echo "Play asked the system for a 5 ms timer resolution and gave it back at Stop"
