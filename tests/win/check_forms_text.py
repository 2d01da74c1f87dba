#!/usr/bin/python3
# Checks the text copied from the Forms dialog after a Compose of the
# manual's worked row with voices 1, 2 and 10, of which only voice 1 sounds.
# Above the matrix, the row's intervals and the forms besides R-0 that
# complement its first hexachord must be those of the row by the definitions.
#
# usage: check_forms_text.py TEXT FILE MANUAL
#
# The matrix and its labels must be the manual's worked example, read from the
# manual's source as it shows them: P-n left and I-n above, R-n right and RI-n
# below with the same n. Each slot's notes in the saved FILE, read with
# mido, must be the pitch classes of the form that the text names, plus 12 x
# the voice's octave, and silent exactly where the name stands in parentheses.
# The forms come from the manual's definitions of the names, not from a matrix.
import re
import sys

import mido

text = open(sys.argv[1]).read().replace("\r\n", "\n")
manual = open(sys.argv[3]).read()
block = re.search(r"^\\c +I-\d.*?^\\c +RI-\d.*?$", manual, re.M | re.S).group(0)
example = [line[3:].split() for line in block.split("\n")]
header, rows, footer = example[0], example[1:-1], example[-1]
assert len(rows) == 12 and all(r[-1] == "R-" + r[0][2:] for r in rows), rows
assert footer == ["RI-" + n[2:] for n in header], footer
lines = text.split("\n")
top = next(i for i, line in enumerate(lines) if line.split()[:1] == ["I-0"])
assert [line.split() for line in lines[top:top + 14]] == example, text
row = [int(x) for x in rows[0][1:13]]


# P-n: the row n semitones up; I-n: its inversion from p0 + n; R-n, RI-n: those backwards.
def form(name):
    family, n = name.split("-")
    prime = [(x + int(n)) % 12 for x in row]
    inversion = [(2 * row[0] + int(n) - x) % 12 for x in row]
    return {"P": prime, "I": inversion, "R": prime[::-1], "RI": inversion[::-1]}[family]


intervals = " ".join(str((b - a) % 12) for a, b in zip(row, row[1:]))
names = [f"{family}-{n}" for family in ("P", "I", "R", "RI") for n in range(12)]
complements = [x for x in names if x != "R-0" and set(form(x)[:6]) == set(range(12)) - set(row[:6])]
assert f"\nIntervals, in semitones up: {intervals}\n" in text, text
assert re.search(r"leave out:\n((?:  .*\n)+)\n", text).group(1).split() == complements, text
# Its first hexachord, 0 3 4 7 8 11, is the augmented (hexatonic) one.
assert "Twelve-tone row: yes" in text and "The row is all-combinatorial." in text, text

voices = re.findall(r"^Voice (\d+): (.*), octave (\d+)\n((?:  slot .*\n)*)", text, re.M)
tracks = mido.MidiFile(sys.argv[2]).tracks[1:]
assert [(int(v), i) for v, i, _, _ in voices] == [(1, "honkytonkpiano"), (2, "acousticgrandpiano"),
                                                  (10, "Percussion Channel")], voices
for (voice, _, octave, slots), track in zip(voices, tracks):
    slots = re.findall(r"slot +\d+  (\(?)([PRI]+-\d+)", slots)
    starts = [m for m in track if m.type == "note_on"][0::2]  # each note: its start, its end
    assert track[0].channel + 1 == int(voice) and len(starts) == 12 * len(slots) == 24, (voice, slots)
    for k, (silent, name) in enumerate(slots):
        notes, where = starts[12 * k:12 * k + 12], f"voice {voice} slot {k + 1} {name}"
        assert [m.note for m in notes] == [pc + 12 * int(octave) for pc in form(name)], where
        assert all(m.velocity == 0 for m in notes) == (silent == "(") == (voice != "1"), where
print("the manual's matrix, and the form of every slot of the saved file")
