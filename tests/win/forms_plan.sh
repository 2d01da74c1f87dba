#!/usr/bin/env bash
# Run > Forms on the real program, driven from outside: greyed before the
# first Compose. Then the manual's worked row is composed for voice 1 and
# the silent voices 2 and 10, the dialog's text is selected with Ctrl+A and
# copied with Ctrl+C, and check_forms_text.py reads the copy from the
# clipboard beside the piece saved with Save As and the manual's source.
# Usage: forms_plan.sh path/to/varnolt.exe (DISPLAY and WINEPREFIX set).
set -uo pipefail
exe="$1"
here="$(cd "$(dirname "$0")" && pwd)"
shots="$(dirname "$exe")/forms-shots"
rm -rf "$shots"
source "$here/support/outside.sh"
piece="$work/plan.mid"

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
keys Return
wait_gone Matrix
options_item 2 Voices
keys Tab Tab space                  # voice 2, then 16 boxes and lists on to voice 10
repeat 16 Tab
keys space Return
wait_gone Voices
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
close_program
/usr/bin/python3 "$here/check_forms_text.py" "$work/forms.txt" "$piece" "$here/../../manual/varnolt.but" \
    || fail "the copied text does not show what the manual and the saved file hold"
echo "Forms was greyed before Compose; its copied text shows the manual's matrix and every slot's form"
