#!/usr/bin/env bash
# The real program through File > Open Settings... and Save Settings..., from
# outside: a hand-edited file (comments, LF line ends, mixed case, entries
# left out) is opened, and Save Settings, given a name without extension,
# writes every setting it brought and the new start's values for the rest.
# A faulty file then brings one box naming it, its line and what was
# expected, and changes nothing: the settings saved next are the same bytes.
# Usage: settings_files.sh path/to/varnolt.exe (DISPLAY and WINEPREFIX set).
set -uo pipefail
exe="$1"
here="$(cd "$(dirname "$0")" && pwd)"
tools="$(dirname "$exe")"
shots="${TMPDIR:-/tmp}/varnolt-settings-files"
source "$here/support/outside.sh"
box_text() { wine "$tools/read_message_box.exe" "${1:-3000}" 2>/dev/null | tr -d '\r'; }
windows_name() { local p="Z:$1"; echo "${p//\//\\}"; }

# Through a dialog of this caption (Alt+F, then key), to the named file.
through_dialog() {  # key, caption, file
    keys alt+f "$1"
    wait_window "$2" >/dev/null
    type_text "$(windows_name "$3")"
    xdotool key Return
    wait_gone "$2"
}
written() { for _ in $(seq 1 50); do [[ -s "$1" ]] && return 0; sleep 0.1; done; return 1; }

printf '%s\n' 'Varnolt settings 1' '# the quartet, Tuesday' \
    'tones 7 3 11 0 5 2 9 1 10 4 8 6' 'durations 1/8 1/2 .1/4 ^1/16 1/4 1/4 1/4 1/4 1/4 1/4 1/4 1' \
    'velocities 100 90 80 70 60 50 40 30 20 110 120 127' '' 'TEMPO 120' 'voice 1 off' \
    'voice 2 octave 3 on series 4 48 instrument 24 (nylon string guitar)' 'voice 10 on octave 2 series 7' \
    >"$work/quartet.vns"
expected() {
    printf '%s\r\n' 'Varnolt settings 1' 'tones 7 3 11 0 5 2 9 1 10 4 8 6' \
        'durations 1/8 1/2 .1/4 ^1/16 1/4 1/4 1/4 1/4 1/4 1/4 1/4 1' \
        'velocities 100 90 80 70 60 50 40 30 20 110 120 127' 'tempo 120' \
        'voice 1 off instrument 0 (acousticgrandpiano) octave 5 series 1 2' \
        'voice 2 on instrument 24 (nylonstringguitar) octave 3 series 4 48'
    for v in $(seq 3 16); do
        if [[ $v == 10 ]]; then printf 'voice 10 on octave 2 series 7\r\n'
        else printf 'voice %d off instrument 0 (acousticgrandpiano) octave 5 series none\r\n' "$v"; fi
    done
}
printf 'Varnolt settings 1\r\ntones 0 1 2\r\ntempo 200\r\n' >"$work/short.vns"

start_program "$exe"
through_dialog o "Open Settings" "$work/quartet.vns"
box=$(box_text 1000) && fail "opening a valid file said: $box"
through_dialog t "Save Settings" "$work/saved"
written "$work/saved.vns" || fail "Save Settings did not add .vns to a name without extension"
cmp <(expected) "$work/saved.vns" || fail "the saved settings are not those opened: $(cat "$work/saved.vns")"

through_dialog o "Open Settings" "$work/short.vns"
box=$(box_text 5000) || fail "a faulty file brought no box"
[[ "$box" == "ERROR: Cannot open settings file $(windows_name "$work/short.vns")
Line 2: expected tone 4 of 12, a number 0..11, found the end of the line
The settings stay as they were" ]] || fail "the box said \"$box\""
keys Return
through_dialog t "Save Settings" "$work/after.vns"
written "$work/after.vns" && cmp "$work/saved.vns" "$work/after.vns" || fail "a faulty file changed the settings"
close_program
echo "settings opened, saved, and left alone by a faulty file"
