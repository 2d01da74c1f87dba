#!/usr/bin/env bash
# Play on the real program, heard by the recording MIDI driver in the prefix:
# a short piece of two voices (different rhythms, a silent slot, tempo 200)
# is composed and saved from outside, then played five times: to the end;
# stopped during its longest note; stopped before its first note; the same
# and played again at once, to the end. check_played.py compares what reached the driver with the
# saved file merged by mido.
# Usage: play_through_driver.sh path/to/varnolt.exe (DISPLAY and WINEPREFIX
# set; WINEPREFIX with the recording driver as its sound driver).
set -uo pipefail
exe="$1"
here="$(cd "$(dirname "$0")" && pwd)"
shots="$(dirname "$exe")/play-shots"
rm -rf "$shots"
source "$here/support/outside.sh"
record_midi "Varnolt recorder"
piece="$work/piece.mid"
log_count() { grep -c " $1 " "$log" 2>/dev/null; }
wait_until() {  # seconds, what, command...: polls every 10 ms
    local limit=$(( $1 * 100 )) what=$2; shift 2
    for _ in $(seq 1 "$limit"); do "$@" && return 0; sleep 0.01; done
    fail "waited $((limit / 100)) s for $what"
}
closes_reach() { [[ $(log_count close) -ge $1 ]]; }
opens_reach() { [[ $(log_count open) -ge $1 ]]; }
press_in_long_note() { /usr/bin/python3 "$here/check_played.py" press "$log" "$target" "$@" || exit 1; }

wine "$exe" &
pid=$!
wait_window Varnolt >/dev/null

# Durations (positions in the lists, 2 by default): three half notes among
# short values, so that a slot lasts about 2 s at 200 beats per minute.
options_item 0 Matrix
repeat 13 Tab                       # from tone 0 past D to the first duration list
first=yes
for code in 1 5 10 1 6 9 5 1 10 6 9 5; do
    [[ -n "$first" ]] || xdotool key Tab
    first=""
    if (( code < 2 )); then xdotool key Up; else repeat $(( code - 2 )) Down; fi
done
shot matrix
xdotool key Return
wait_gone Matrix

options_item 2 Voices
keys Tab Tab space                  # voice 2 sounds too
xdotool key Return
wait_gone Voices

# Voice 1 sounds its first slot only, voice 2 its second only.
options_item 1 Series
wait_window Series >/dev/null
keys Tab space                      # page 1, box 2 off
next_series_page 2
keys Tab Tab space                  # page 2, box 2 on
shot series
xdotool key Return
wait_gone Series

options_item 4 MIDI
xdotool key End                     # 200 beats per minute
xdotool key Return
wait_gone MIDI

keys alt+r c; sleep 0.5
keys alt+f a
wait_window "Save As" >/dev/null
type_text "Z:${piece//\//\\}"
xdotool key Return
wait_gone "Save As"
wait_until 5 "the saved file" test -s "$piece"
plan=$(/usr/bin/python3 "$here/check_played.py" plan "$piece") || fail "the saved piece: $plan"
read -r target length <<<"$plan"

# How busy the machine is while they play decides whether their timing is judged.
stall_before=$(/usr/bin/python3 "$here/check_played.py" stall)
# 1. To the end.
keys alt+r p
wait_until 20 "the end of the first playback" closes_reach 1
# 2. Stop during the long note; then nothing may come until its end and beyond.
keys alt+r p
wait_until 5 "the second playback" opens_reach 2
press_in_long_note alt+r s
sleep "$(( length / 1000 + 1 )).5"
# 3. Stop before the first note, while the first timer is pending: the output
# closes then, not when the timer would have fired.
keys alt+r p
wait_until 5 "the third playback" opens_reach 3
xdotool key --delay 30 alt+r s
sleep 1.5
# 4. and 5. The same, and Play again at once, to the end.
keys alt+r p
wait_until 5 "the fourth playback" opens_reach 4
xdotool key --delay 30 alt+r s alt+r p
wait_until 20 "the end of the fifth playback" closes_reach 5
stall_after=$(/usr/bin/python3 "$here/check_played.py" stall)
sleep 0.5
shot after
close_program

/usr/bin/python3 "$here/check_played.py" check "$piece" "$log" "$stall_before" "$stall_after" \
    || fail "what reached the MIDI driver is not the saved piece played as it should be"
echo "Play reached the MIDI driver as the saved piece, and Stop ended it"
