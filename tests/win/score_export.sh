#!/usr/bin/env bash
# File > Export Score... on the real program, from outside: greyed before a
# Compose; after one, a bare name gets .musicxml, and MuseScore reads the
# score back with the notes of the MIDI file that Save As wrote of the same
# Compose (triplet values off the beat, a silent slot, two clefs).
# Usage: score_export.sh path/to/varnolt.exe (DISPLAY and WINEPREFIX set).
set -uo pipefail
exe="$1"
here="$(cd "$(dirname "$0")" && pwd)"
shots="${TMPDIR:-/tmp}/varnolt-score-export"
source "$here/support/outside.sh"

printf '%s\n' 'Varnolt settings 1' 'tones 7 3 11 0 5 2 9 1 10 4 8 6' \
    'durations ^1/8 1/8 .1/16 ^1/16 1/4 ^1/8 1/16 .1/8 1/2 ^1/32 1/32 .1/4' 'tempo 100' \
    'voice 1 on instrument 40 octave 5 series 1 3' 'voice 2 on instrument 42 octave 3 series 1 2 3' \
    >"$work/small.vns"

start_program "$exe"
keys alt+f e; sleep 1
xdotool search --onlyvisible --name '^Export Score$' >/dev/null 2>&1 && fail "Export Score before a Compose"
keys Escape Escape
through_dialog o "Open Settings" "$work/small.vns"
keys alt+r c; sleep 0.5
through_dialog a "Save As" "$work/small.mid"
through_dialog e "Export Score" "$work/small"
written "$work/small.musicxml" || fail "Export Score did not add .musicxml to a bare name"
close_program
/usr/bin/python3 "$here/../score/check_score.py" "$work/small.mid" "$work/small.musicxml" \
    || fail "the exported score is not the saved piece"
cp "$work/small.musicxml" "$shots/"
