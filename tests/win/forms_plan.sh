#!/usr/bin/env bash
# Run > Forms on the real program, driven from outside: greyed before the
# first Compose. Then the manual's worked row is composed, with mixed
# durations, random velocities and tempo 200, for voice 1 (instrument 3) and
# the silent voices 2 and 10; the dialog's text is selected with Ctrl+A and
# copied with Ctrl+C, and check_forms_text.py reads the copy from the
# clipboard beside the piece saved with Save As and the manual's source.
# Then the form of voice 1's first slot is chosen in Forms and played three
# times, heard by the recording MIDI driver: to its end, stopped with Stop
# during its longest note, and ended there by closing the dialog;
# check_form_played.py compares that with the slot in the saved piece.
# Usage: forms_plan.sh path/to/varnolt.exe (DISPLAY and WINEPREFIX set;
# WINEPREFIX with the recording driver as its sound driver).
set -uo pipefail
exe="$1"
here="$(cd "$(dirname "$0")" && pwd)"
shots="$(dirname "$exe")/forms-shots"
rm -rf "$shots"
source "$here/support/outside.sh"
record_midi "Varnolt recorder"
piece="$work/plan.mid"
closes_reach() { [[ $(grep -c " close " "$log" 2>/dev/null) -ge $1 ]]; }
wait_until() { for _ in $(seq 1 1000); do "$@" && return 0; sleep 0.01; done; fail "waited 10 s for $*"; }

start_program "$exe"
# Had Forms opened its modal dialog, the Compose keys after it would reach
# the dialog instead of the menu.
picture_window "$main"
keys alt+r f alt+r c
window_changed "$main" || fail "Run > Compose did not enable the toolbar"
xdotool search --onlyvisible --name '^Forms$' >/dev/null && fail "Forms opened before the first Compose"

options_item 0 Matrix
type_text 3                         # the dialog opens in tone 0, selected
for t in 11 7 8 4 0 10 1 9 6 2 5; do xdotool key Tab; type_text "$t"; done
xdotool key Tab                     # D, then the duration lists, each at 1/4 (code 2)
for code in 1 3 12 2 13 3 1 2 12 3 13 2; do   # 150 ms to 600 ms each: Stop lands in a note
    xdotool key Tab
    if (( code < 2 )); then xdotool key Up; else repeat $(( code - 2 )) Down; fi
done
keys Tab space Tab Return           # V: random velocities; OK from the first velocity
wait_gone Matrix
options_item 2 Voices
keys Tab Down Down Down Tab space   # voice 1's instrument 3; voice 2, then on to voice 10
repeat 16 Tab
keys space Return
wait_gone Voices
options_item 4 MIDI
keys End Return                     # 200 beats per minute
wait_gone MIDI
keys alt+r c alt+r f
wait_window Forms >/dev/null
shot forms
keys ctrl+a ctrl+c
xclip -o -selection clipboard >"$work/forms.txt" || fail "nothing was copied"
keys Escape
wait_gone Forms

keys alt+f a
wait_window "Save As" >/dev/null
type_text "Z:${piece//\//\\}"
keys Return
wait_gone "Save As"
/usr/bin/python3 "$here/check_forms_text.py" "$work/forms.txt" "$piece" "$here/../../manual/varnolt.but" \
    || fail "the copied text does not show what the manual and the saved file hold"

# The form of voice 1's first slot, by its place in the list: P-0 to P-11, I-, R-, RI-.
name=$(grep -m1 -oP '^  slot  1  \K[PRI]+-\d+' "$work/forms.txt") || fail "no first slot in the text"
families=" P I R RI "
before=${families%% ${name%-*} *}
place=$(( ($(wc -w <<<"$before")) * 12 + ${name#*-} ))
target=$(/usr/bin/python3 "$here/check_form_played.py" plan "$piece") || fail "the saved piece: $target"
keys alt+r f
wait_window Forms >/dev/null
keys alt+f Home
repeat "$place" Down
keys alt+p
shot form-playing
wait_until closes_reach 1
keys alt+p
/usr/bin/python3 "$here/check_played.py" press "$log" "$target" alt+s || exit 1
wait_until closes_reach 2
keys alt+p
/usr/bin/python3 "$here/check_played.py" press "$log" "$target" Escape || exit 1
wait_gone Forms
wait_until closes_reach 3
close_program
/usr/bin/python3 "$here/check_form_played.py" check "$piece" "$log" \
    || fail "the form played is not the first slot of voice 1 in the saved piece, played and stopped as it should be"
echo "Forms was greyed before Compose; its copied text shows the manual's matrix, the row's analysis and every"
echo "slot's form; the form chosen played as in the piece, and Stop and closing the dialog ended it at once"
