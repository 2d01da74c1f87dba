# Sourced by scripts/run and its test: which MIDI output Wine's MIDI mapper
# plays on in the prefix WINEPREFIX. Without a choice of its own the mapper
# takes the first output Wine lists, on most Linux systems ALSA's "Midi
# Through" port, where nothing is heard.

MIDIMAP_KEY='HKCU\Software\Microsoft\Windows\CurrentVersion\Multimedia\MIDIMap'

# The name of fluidsynth's output in a listing of midi_outputs.exe (a number,
# a tab and a name a line), or nothing. Wine names an ALSA port "client -
# port" when that fits in 31 characters, else by the port alone: fluidsynth's
# client is "FLUID Synth (...)", its port "Synth input port (...)".
synth_output_in() {  # listing
  tr -d '\r' <<<"$1" | awk -F'\t' 'tolower($2) ~ /^fluid synth|^synth input port/ { print $2; exit }'
}

mapper_value() {  # value name: its data, empty when it is not set
  wine reg query "$MIDIMAP_KEY" /v "$1" 2>/dev/null | tr -d '\r' | sed -n "s/^ *$1 *REG_[A-Z_]* *//p"
}

# Names fluidsynth's output as the mapper's instrument, unless the user made a
# choice: an instrument other than the one named here last time (remembered
# in the prefix), or a scheme, stays as it is. Returns 1 when Wine lists no
# output of fluidsynth.
choose_mapper_instrument() {  # path of midi_outputs.exe
  local listing name current mine
  listing=$(wine "$1" 2>/dev/null) || return 1
  name=$(synth_output_in "$listing")
  [[ -n "$name" ]] || return 1
  [[ "$(mapper_value UseScheme)" == 0x1 ]] && return 0
  current=$(mapper_value CurrentInstrument)
  mine=$(cat "$WINEPREFIX/.varnolt-instrument" 2>/dev/null)
  [[ -n "$current" && "$current" != "$mine" ]] && return 0
  wine reg add "$MIDIMAP_KEY" /v CurrentInstrument /d "$name" /f >/dev/null 2>&1 || return 1
  printf '%s\n' "$name" >"$WINEPREFIX/.varnolt-instrument"
}
