#!/usr/bin/env bash
# How scripts/run points Wine's MIDI mapper at the fluidsynth it started:
# midi_outputs.exe lists the outputs that the recording MIDI driver offers
# (as ALSA's would be on a desktop), the choice names fluidsynth's one, and
# Play on the real program then opens that output. A choice the user made
# stays; a list without fluidsynth sets nothing.
# Usage: mapper_instrument.sh path/to/varnolt.exe (DISPLAY and WINEPREFIX set;
# WINEPREFIX with the recording driver as its sound driver).
set -uo pipefail
exe="$1"
here="$(cd "$(dirname "$0")" && pwd)"
probe="$(dirname "$exe")/midi_outputs.exe"
shots="$(dirname "$exe")/play-shots"
source "$here/support/outside.sh"
source "$here/../../scripts/lib/midi_mapper.sh"
forget_choice() {
    wine reg delete "$MIDIMAP_KEY" /f >/dev/null 2>&1
    rm -f "$WINEPREFIX/.varnolt-instrument"
}
on_exit() { forget_choice; }
instrument_is() {  # expected, what
    local got
    got=$(mapper_value CurrentInstrument)
    [[ "$got" == "$1" ]] || fail "$2: the mapper's instrument is \"$got\", expected \"$1\""
}
through="Midi Through Port-0"
forget_choice

# Fluidsynth second: named by the choice, and Play opens it.
record_midi "$through|FLUID Synth (4321)"
listing=$(wine "$probe" | tr -d '\r')
[[ "$listing" == $'0\tMidi Through Port-0\n1\tFLUID Synth (4321)' ]] || fail "the probe listed: $listing"
choose_mapper_instrument "$probe" || fail "no output of fluidsynth found in: $listing"
instrument_is "FLUID Synth (4321)" "fluidsynth listed second"
wine "$exe" &
pid=$!
wait_window Varnolt >/dev/null
keys alt+r c alt+r p
for _ in $(seq 1 100); do grep -q ' open ' "$log" 2>/dev/null && break; sleep 0.05; done
keys alt+r s
close_program
opened=$(awk '$2 == "open" { print $3 }' "$log" 2>/dev/null | tr '\n' ' ')
[[ "$opened" == "1 " ]] || fail "Play opened the outputs \"$opened\", not fluidsynth's (1)"

# The next start: fluidsynth has a new process number, and only the port fits in Wine's name.
export VARNOLT_MIDI_DEVICES="$through|Synth input port (5555:0)"
choose_mapper_instrument "$probe" || fail "fluidsynth's port name was not recognised"
instrument_is "Synth input port (5555:0)" "the instrument named last time"

# A choice of the user's own stays.
wine reg add "$MIDIMAP_KEY" /v CurrentInstrument /d "$through" /f >/dev/null 2>&1
choose_mapper_instrument "$probe"
instrument_is "$through" "the user's choice"

# Without fluidsynth, and without any output, nothing is set.
forget_choice
for devices in "$through|TiMidity port 0" ""; do
    export VARNOLT_MIDI_DEVICES="$devices"
    choose_mapper_instrument "$probe" && fail "an instrument was chosen among \"$devices\""
    instrument_is "" "outputs \"$devices\""
done
echo "the mapper's instrument names fluidsynth's output when it is listed, and only then"
