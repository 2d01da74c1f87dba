#!/usr/bin/python3
"""Compares what the recording MIDI driver heard while the Forms dialog played
one form with that form in the piece the program saved: the program change
and the twelve notes of voice 1's first slot, which sounds, read by mido.

usage: check_form_played.py plan FILE
         prints the message number (from 0) of the form's longest note start
       check_form_played.py check FILE DRIVER_LOG
         three playbacks: to the end; stopped during the longest note; the
         same ended by closing the dialog
"""
import sys

import mido

from check_played import check_stopped, check_whole, fail, long_note, packed, playbacks, read_log


def first_slot(path):
    """(bpm, [(tick, packed message)]) of voice 1's program change and first slot."""
    mid = mido.MidiFile(path)
    bpm = round(60_000_000 / next(m.tempo for m in mid.tracks[0] if m.type == "set_tempo"))
    merged, tick = [], 0
    for m in mid.tracks[1]:
        tick += m.time
        if not m.is_meta:
            merged.append((tick, packed(m)))
    if len(merged) < 25 or any(m >> 16 == 0 for _, m in merged[1:25:2]):
        fail("voice 1's first slot does not sound all twelve notes")
    return bpm, merged[:25]


def main():
    bpm, form = first_slot(sys.argv[2])
    target, length_ms = long_note(form, bpm)
    if sys.argv[1] == "plan":
        if length_ms < 250:  # a column of the duration matrix without its long values: about 1 in 10000
            fail(f"the form's longest note lasts {length_ms:.0f} ms, too short to stop in")
        print(target)
        return
    plays = playbacks(read_log(sys.argv[3]))
    if len(plays) != 3:
        fail(f"{len(plays)} playbacks reached the driver, expected 3")
    check_whole(1, plays[0], bpm, form)
    check_stopped(2, plays[1], form, target, length_ms)
    check_stopped(3, plays[2], form, target, length_ms)


if __name__ == "__main__":
    main()
