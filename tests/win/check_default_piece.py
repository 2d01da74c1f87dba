#!/usr/bin/python3
"""Reads, with mido, a file saved right after Compose on the settings every
start begins with, and checks it holds that piece: the row 0 to 11 in quarter
notes at velocity 96, voice 1 alone with instrument 0 in octave 5, its first
two form slots sounding, 60 beats a minute.

usage: check_default_piece.py FILE
"""
import sys

import mido


def fail(msg):
    print("FAIL:", sys.argv[1] + ":", msg)
    sys.exit(1)


def forms():
    row = list(range(12))
    found = set()
    for t in range(12):
        prime = tuple((x + t) % 12 for x in row)
        inversion = tuple((t - x) % 12 for x in row)
        for form in (prime, inversion):
            found.update({form, form[::-1]})
    return found


def main():
    mid = mido.MidiFile(sys.argv[1])
    if (mid.type, mid.ticks_per_beat, len(mid.tracks)) != (1, 384, 2):
        fail(f"type {mid.type}, division {mid.ticks_per_beat}, {len(mid.tracks)} tracks")
    tempos = [m.tempo for m in mid.tracks[0] if m.type == "set_tempo"]
    if tempos != [1000000]:
        fail(f"tempo {tempos}, not 60 beats a minute")
    messages = [m for m in mid.tracks[1] if not m.is_meta]
    first = messages[0] if messages else None
    if first is None or first.type != "program_change" or (first.channel, first.program) != (0, 0):
        fail(f"the voice does not begin with instrument 0 on channel 1: {first}")
    starts, ends = messages[1::2], messages[2::2]
    if len(starts) != 24 or len(ends) != 24:
        fail(f"{len(messages) - 1} note messages, not two slots of twelve notes")
    all_forms, seen = forms(), set()
    for k in range(2):
        keys = []
        for start, end in zip(starts[12 * k:12 * k + 12], ends[12 * k:12 * k + 12]):
            if (start.type, start.channel, start.velocity, start.time) != ("note_on", 0, 96, 0):
                fail(f"slot {k}: note start {start}")
            if (end.type, end.channel, end.note, end.velocity, end.time) != ("note_on", 0, start.note, 0, 384):
                fail(f"slot {k}: note end {end} after {start}")
            keys.append(start.note)
        form = tuple(key - 60 for key in keys)
        if form not in all_forms or form in seen:
            fail(f"slot {k}: keys {keys} are no new form of the row in octave 5")
        seen.add(form)
    print("the saved piece reads back as composed:", sys.argv[1])


if __name__ == "__main__":
    main()
