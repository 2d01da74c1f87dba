#!/usr/bin/env bash
# A composer's whole session on the real program, driven only from outside by
# keyboard and mouse: rows, voices, octaves, slots and tempo set in the
# dialogs, Compose, Play and Stop, Save As, Compose again and the toolbar's
# Save, an error box, and the window closed. The saved file is then read by
# an independent reader. Pictures of every dialog go to e2e-shots/ beside the exe.
# Usage: composer_session.sh path/to/varnolt.exe (DISPLAY and WINEPREFIX set).
set -uo pipefail
exe="$1"
here="$(cd "$(dirname "$0")" && pwd)"
tools="$(dirname "$exe")"
shots="$tools/e2e-shots"
rm -rf "$shots"
source "$here/support/outside.sh"
piece="$work/first piece"          # a name with a blank and no extension
winpiece="Z:${piece//\//\\}"
box_text() { wine "$tools/read_message_box.exe" "${1:-3000}" 2>/dev/null | tr -d '\r'; }

# The row, durations and velocities typed below, as the file must hold them.
tones=(7 3 11 0 5 2 9 1 10 4 8 6)
ticks="192,768,576,384,384,384,384,384,384,384,384,384"  # 1/8, 1/2, .1/4, then 1/4
velocities=(100 90 80 70 60 50 40 30 20 110 120 127)

wine "$exe" &
pid=$!
main=$(wait_window Varnolt)
shot main-start

# 1. Options > Matrix: type the row, pick durations, type velocities.
options_item 0 Matrix
shot matrix-open
type_text "${tones[0]}"            # the dialog opens in tone 0, selected
for t in "${tones[@]:1}"; do xdotool key Tab; type_text "$t"; done
keys Tab Tab                       # past D to duration 0
keys Down Tab Up Tab               # 1/8, then 1/2
repeat 10 Down                     # .1/4
repeat 10 Tab                      # past the other lists and V
for v in "${velocities[@]}"; do xdotool key Tab; type_text "$v"; done
shot matrix-typed
xdotool key Return
wait_gone Matrix

# 2. Options > Voices: 1, 2 and 10 sound; instruments 5 and 24.
options_item 2 Voices
keys Tab; repeat 5 Down            # voice 1: chorusedpiano
keys Tab space Tab; repeat 24 Down # voice 2 on: nylonstringguitar
repeat 15 Tab; keys space          # voice 10 on
shot voices-set
xdotool key Return
wait_gone Voices

# 3. Options > Octaves: voice 2 in octave 3.
options_item 3 Octaves
keys Tab; type_text 3
shot octaves-set
xdotool key Return
wait_gone Octaves

# 4. Options > Series: page 1 boxes 1..3, page 2 box 4.
options_item 1 Series
wait_window Series >/dev/null
keys Tab Tab space                 # box 3 (1 and 2 are ticked already)
shot series-page1
next_series_page 3
keys Tab Tab Tab Tab space         # page 2, box 4
shot series-page2
xdotool key Return
wait_gone Series

# 5. Options > MIDI: 120 beats per minute (three below 60).
options_item 4 MIDI
repeat 3 Down
shot midi-set
xdotool key Return
wait_gone MIDI

# 6. Compose, Play and Stop: with no MIDI output (the recording driver of the
# prefix offers none unless a test names some) Play says so in Wine's words
# for the code it gives there, 69, and the commands stay idle.
keys alt+r c; sleep 0.5
shot main-composed
keys alt+r p
box=$(box_text 5000) || fail "Play without a MIDI output showed no box"
[[ "$box" == "ERROR: Cannot open the MIDI output: The current MIDI setup is damaged. Copy the original MIDIMAP.CFG file to the Windows SYSTEM directory, and then try again." ]] \
    || fail "Play without a MIDI output said \"$box\""
shot play-no-output
xdotool key Return
sleep 0.5
box=$(box_text 500) && fail "a second box after OK: $box"
keys alt+r s; sleep 0.3

# 7. Save As with a full path and no extension; Compose again; toolbar Save.
keys alt+f a
dialog=$(wait_window "Save As")
shot save-as
type_text "$winpiece"
xdotool key Return
wait_gone "Save As"
for _ in $(seq 1 50); do [[ -s "$piece" ]] && break; sleep 0.1; done
[[ -s "$piece" ]] || fail "Save As wrote no file named \"$piece\""
first=$(md5sum < "$piece")
keys alt+r c; sleep 0.5
xdotool mousemove --window "$main" 12 55 click 1    # the floppy disk
sleep 1
xdotool search --onlyvisible --name '^Save As$' >/dev/null 2>&1 && fail "the toolbar's Save asked for a name again"
shot main-saved
[[ "$(md5sum < "$piece")" != "$first" ]] || fail "the toolbar's Save did not replace the file"

# 8. An empty tone field: the error box names it; then Cancel.
options_item 0 Matrix
keys BackSpace Return              # tone 0, selected as the dialog opens
box=$(box_text 5000) || fail "no error box for an empty tone field"
[[ "$box" == "ERROR: Invalid tone 0" ]] || fail "error box said \"$box\""
shot matrix-error
xdotool key Return
sleep 0.5
xdotool search --onlyvisible --name '^Matrix$' >/dev/null 2>&1 || fail "the Matrix dialog closed after the error"
keys Escape
wait_gone Matrix

# 9. Close the window: the program ends with 0.
close_program

join() { local IFS=,; echo "$*"; }
/usr/bin/python3 "$here/check_session_file.py" "$piece" "$(join "${tones[@]}")" "$ticks" \
    "$(join "${velocities[@]}")" 5 24 || fail "the saved file does not hold the session's piece"
echo "a whole session ran from outside and its file reads back as composed"
