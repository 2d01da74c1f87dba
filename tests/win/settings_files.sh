#!/usr/bin/env bash
# The real program through File > Open Settings... and Save Settings..., from
# outside: what a file brings reaches the program's settings, the tempo
# included, and Save Settings, given a name without extension, writes them to
# that name with .vns added. How a file is read (comments, case, entries left
# out) and how a faulty one is refused, the unit tests show.
# Usage: settings_files.sh path/to/varnolt.exe (DISPLAY and WINEPREFIX set).
set -uo pipefail
exe="$1"
here="$(cd "$(dirname "$0")" && pwd)"
tools="$(dirname "$exe")"
shots="${TMPDIR:-/tmp}/varnolt-settings-files"
source "$here/support/outside.sh"
box_text() { wine "$tools/read_message_box.exe" "${1:-3000}" 2>/dev/null | tr -d '\r'; }

printf '%s\n' 'Varnolt settings 1' 'tones 7 3 11 0 5 2 9 1 10 4 8 6' 'tempo 120' 'voice 2 on octave 3' \
    >"$work/quartet.vns"

start_program "$exe"
through_dialog o "Open Settings" "$work/quartet.vns"
box=$(box_text 1000) && fail "opening a valid file said: $box"
through_dialog t "Save Settings" "$work/saved"
written "$work/saved.vns" || fail "Save Settings did not add .vns to a name without extension"
for line in 'tones 7 3 11 0 5 2 9 1 10 4 8 6' 'tempo 120' \
    'voice 2 on instrument 0 (acousticgrandpiano) octave 3 series none'; do
    grep -qx "$line"$'\r' "$work/saved.vns" || fail "the saved settings lack \"$line\": $(cat "$work/saved.vns")"
done
close_program
echo "the settings of a file opened were saved again under the name given, with .vns"
