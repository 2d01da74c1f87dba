#!/usr/bin/python3
"""Reads the file saved in the end-to-end session with mido, a reader this
project did not write, and checks it against what the session typed.

usage: check_session_file.py FILE TONES TICKS VELOCITIES PROGRAM1 PROGRAM2
  TONES, TICKS and VELOCITIES are twelve comma-separated numbers each.
Voices 1, 2 and 10 are active; slots: voice 1 sounds 0..2, voice 2 sounds 3,
voice 10 none; voice 2 plays in octave 3, the others in octave 5; tempo 120.
"""
import sys

import mido


def fail(msg):
    print("FAIL:", msg)
    sys.exit(1)


def forms_of(row):
    """The 48 forms of a row as tuples of pitch classes: which family each is in."""
    rows, cols = set(), set()
    for t in range(12):
        p = [(x + t) % 12 for x in row]
        i = [(row[0] - (x - row[0]) + t) % 12 for x in row]
        rows.add(tuple(p))
        rows.add(tuple(reversed(p)))
        cols.add(tuple(i))
        cols.add(tuple(reversed(i)))
    return rows, cols


def slots_of(track, channel):
    """Program number and a list of slots, each twelve (key, velocity, ticks)."""
    events = [m for m in track if not m.is_meta]
    if not events or events[0].type != "program_change" or events[0].channel != channel:
        fail(f"channel {channel}: no program change first")
    program = events[0].program
    notes = []
    rest = events[1:]
    if len(rest) % 2:
        fail(f"channel {channel}: odd number of note messages")
    for start, end in zip(rest[0::2], rest[1::2]):
        for m in (start, end):
            if m.type not in ("note_on",) or m.channel != channel:
                fail(f"channel {channel}: unexpected message {m}")
        if start.time != 0 or end.velocity != 0 or end.note != start.note:
            fail(f"channel {channel}: note pair out of shape {start} {end}")
        notes.append((start.note, start.velocity, end.time))
    if len(notes) % 12:
        fail(f"channel {channel}: {len(notes)} notes is not whole slots")
    return program, [notes[i:i + 12] for i in range(0, len(notes), 12)]


def main():
    path = sys.argv[1]
    tones, ticks, velocities = ([int(x) for x in a.split(",")] for a in sys.argv[2:5])
    programs = {0: int(sys.argv[5]), 1: int(sys.argv[6]), 9: 0}
    octaves = {0: 5, 1: 3, 9: 5}
    sounding = {0: {0, 1, 2}, 1: {3}, 9: set()}

    mid = mido.MidiFile(path)
    if mid.type != 1 or mid.ticks_per_beat != 384:
        fail(f"type {mid.type}, division {mid.ticks_per_beat}")
    if len(mid.tracks) != 4:
        fail(f"{len(mid.tracks)} tracks, expected 4")
    tempos = [m.tempo for m in mid.tracks[0] if m.type == "set_tempo"]
    if tempos != [500000]:
        fail(f"tempo {tempos}")
    rows, cols = forms_of(tones)
    for track, channel in zip(mid.tracks[1:], (0, 1, 9)):
        program, slots = slots_of(track, channel)
        if program != programs[channel]:
            fail(f"channel {channel}: program {program}, expected {programs[channel]}")
        if len(slots) != 4:
            fail(f"channel {channel}: {len(slots)} slots, expected 4")
        seen = set()
        for k, slot in enumerate(slots):
            keys = [n[0] for n in slot]
            if any(key // 12 != octaves[channel] for key in keys):
                fail(f"channel {channel} slot {k}: keys {keys} outside octave {octaves[channel]}")
            pcs = tuple(key % 12 for key in keys)
            if pcs not in rows and pcs not in cols:
                fail(f"channel {channel} slot {k}: {pcs} is no form of the row")
            if pcs in seen:
                fail(f"channel {channel} slot {k}: form repeated")
            seen.add(pcs)
            vel = [n[1] for n in slot]
            dur = [n[2] for n in slot]
            if k in sounding[channel]:
                if any(v not in velocities for v in vel):
                    fail(f"channel {channel} slot {k}: velocities {vel}")
            elif any(vel):
                fail(f"channel {channel} slot {k}: silent slot sounds {vel}")
            if any(d not in ticks for d in dur):
                fail(f"channel {channel} slot {k}: durations {dur}")
            # a form read along a matrix row reorders the typed rows exactly;
            # one read down a column takes each value from them
            if pcs in rows and pcs not in cols:
                if sorted(dur) != sorted(ticks):
                    fail(f"channel {channel} slot {k}: durations {dur} do not reorder {ticks}")
                if k in sounding[channel] and sorted(vel) != sorted(velocities):
                    fail(f"channel {channel} slot {k}: velocities {vel} do not reorder {velocities}")
    print("saved file checked:", path)


if __name__ == "__main__":
    main()
