#!/usr/bin/python3
"""Checks a score against the MIDI file of the same Compose, with MuseScore 3
as the reader.

  check_score.py PIECE.mid SCORE.musicxml
  check_score.py --bench BENCH_SCORE   (makes the largest piece first)

1. Every note of the score: its type, dots and 3:2 bracket give exactly its
   <duration>; every bracket is one whole beat; every measure is full.
2. MuseScore reads the score with nothing in its log that tells of a fault.
3. The notes of the file MuseScore writes back (ties joined: start, length,
   pitch) equal the notes of the MIDI file, voice by voice.
"""
import os, re, shutil, subprocess, sys, tempfile
import xml.etree.ElementTree as ET
from fractions import Fraction

import mido

TYPES = {'whole': Fraction(4), 'half': Fraction(2), 'quarter': Fraction(1), 'eighth': Fraction(1, 2),
         '16th': Fraction(1, 4), '32nd': Fraction(1, 8), '64th': Fraction(1, 16),
         '128th': Fraction(1, 32), '256th': Fraction(1, 64)}
FAULTS = ('Error at', 'not a valid', 'tuplet', 'cannot divide', 'not equal')
STEPS = {'C': 0, 'D': 2, 'E': 4, 'F': 5, 'G': 7, 'A': 9, 'B': 11}


def fail(text):
    print('FAIL:', text)
    sys.exit(1)


def written_length(note):
    """Quarters that the note's type, dots and time modification give."""
    base = TYPES[note.findtext('type')]
    length = base * (2 - Fraction(1, 2 ** len(note.findall('dot'))))
    mod = note.find('time-modification')
    if mod is not None:
        length = length * int(mod.findtext('normal-notes')) / int(mod.findtext('actual-notes'))
    return length


def check_values(path):
    """The score's own values: each note, each bracket, each measure."""
    parts = ET.parse(path).getroot().findall('part')
    counts = {len(p.findall('measure')) for p in parts}
    if len(counts) != 1:
        fail(f'{path}: parts of {sorted(counts)} measures')
    divisions, notes = None, 0
    for part in parts:
        for measure in part.findall('measure'):
            divisions = int(measure.findtext('attributes/divisions') or divisions)
            where, bracket = Fraction(0), None
            for note in measure.findall('note'):
                length = Fraction(int(note.findtext('duration')), divisions)
                if written_length(note) != length:
                    fail(f'{part.get("id")} m{measure.get("number")}: duration {length} written as {written_length(note)}')
                for t in note.findall('notations/tuplet'):
                    if t.get('type') == 'start':
                        bracket = where
                if bracket is not None and note.find('time-modification') is None:
                    fail(f'{part.get("id")} m{measure.get("number")}: a plain note inside a bracket')
                where += length
                notes += 1
                for t in note.findall('notations/tuplet'):
                    if t.get('type') == 'stop':
                        if bracket is None or bracket.denominator != 1 or where - bracket != 1:
                            fail(f'{part.get("id")} m{measure.get("number")}: a bracket from {bracket} to {where}')
                        bracket = None
            if bracket is not None or where != 4:
                fail(f'{part.get("id")} m{measure.get("number")}: {where} quarters, bracket open at {bracket}')
    print(f'values: {notes} notes in {len(parts)} parts check')


def musescore(score, back):
    run = subprocess.run(['mscore3', '-o', back, score], capture_output=True, text=True,
                         env=dict(os.environ, QT_QPA_PLATFORM='offscreen'), timeout=900)
    log = run.stdout + run.stderr
    bad = [line for line in log.splitlines() if any(f in line for f in FAULTS)]
    if bad:
        fail('MuseScore: ' + ' | '.join(bad[:5]))
    if not os.path.exists(back):
        fail('MuseScore wrote nothing:\n' + log[-2000:])


def pitch_of(note, unpitched):
    p = note.find('pitch')
    if p is None:
        return unpitched.get(note.find('instrument').get('id')) if note.find('instrument') is not None else None
    return (int(p.findtext('octave')) + 1) * 12 + STEPS[p.findtext('step')] + round(float(p.findtext('alter') or 0))


def score_notes(path):
    """Per part, the sounding notes (start, length, key) in quarters, ties joined."""
    root = ET.parse(path).getroot()
    result = []
    for part in root.findall('part'):
        unpitched = {i.get('id'): int(i.findtext('midi-unpitched')) - 1
                     for i in root.iter('midi-instrument') if i.findtext('midi-unpitched')}
        notes, open_ties, divisions, start, shift = [], {}, 1, Fraction(0), 0
        for measure in part.findall('measure'):
            now = start
            last = now
            for item in measure:
                if item.tag == 'attributes':
                    divisions = int(item.findtext('divisions') or divisions)
                    if item.find('transpose') is not None:
                        shift = int(item.findtext('transpose/chromatic')) + 12 * int(item.findtext('transpose/octave-change') or 0)
                elif item.tag in ('backup', 'forward'):
                    step = Fraction(int(item.findtext('duration')), divisions)
                    now += -step if item.tag == 'backup' else step
                elif item.tag == 'note' and item.find('grace') is None:
                    length = Fraction(int(item.findtext('duration')), divisions)
                    at = last if item.find('chord') is not None else now
                    if item.find('rest') is None:
                        key = pitch_of(item, unpitched) + shift
                        ties = {t.get('type') for t in item.findall('tie')}
                        joined = open_ties.pop((key, at), None) if 'stop' in ties else None
                        if joined is None:
                            joined = [at, Fraction(0), key]
                            notes.append(joined)
                        joined[1] += length
                        if 'start' in ties:
                            open_ties[(key, at + length)] = joined
                    if item.find('chord') is None:
                        last, now = now, now + length
            start += measure_length(measure, divisions)
        result.append(sorted(tuple(n) for n in notes))
    return result


def measure_length(measure, divisions):
    """What a measure lasts: its furthest point in its first voice."""
    now, far, last = Fraction(0), Fraction(0), Fraction(0)
    for item in measure:
        if item.tag == 'attributes' and item.findtext('divisions'):
            divisions = int(item.findtext('divisions'))
        if item.tag in ('backup', 'forward'):
            step = Fraction(int(item.findtext('duration')), divisions)
            now += -step if item.tag == 'backup' else step
        elif item.tag == 'note' and item.find('grace') is None and item.find('chord') is None:
            now += Fraction(int(item.findtext('duration')), divisions)
        far = max(far, now)
    return far


def midi_notes(path):
    """Per voice track, the sounding notes (start, length, key) in quarters."""
    midi = mido.MidiFile(path)
    result = []
    for track in midi.tracks[1:]:
        now, sounding, notes = 0, {}, []
        for m in track:
            now += m.time
            if m.type == 'note_on' and m.velocity > 0:
                sounding[m.note] = now
            elif m.type in ('note_on', 'note_off') and m.note in sounding:
                began = sounding.pop(m.note)
                notes.append((Fraction(began, midi.ticks_per_beat), Fraction(now - began, midi.ticks_per_beat), m.note))
        result.append(sorted(notes))
    return result


def compare(midi_path, back):
    theirs, ours = score_notes(back), midi_notes(midi_path)
    if len(theirs) != len(ours):
        fail(f'{len(theirs)} parts read back, {len(ours)} voice tracks')
    for voice, (a, b) in enumerate(zip(theirs, ours)):
        if a != b:
            wrong = next(i for i in range(min(len(a), len(b)) + 1) if i >= len(a) or i >= len(b) or a[i] != b[i])
            fail(f'part {voice + 1}: {len(a)} notes read back, {len(b)} in the MIDI file; first difference at '
                 f'note {wrong}: {a[wrong] if wrong < len(a) else None} against {b[wrong] if wrong < len(b) else None}')
    print(f'MuseScore read back {sum(map(len, ours))} notes in {len(ours)} parts exactly')


def main():
    if shutil.which('mscore3') is None:
        print('SKIP: mscore3 is missing (scripts/setup installs musescore3)')
        sys.exit(77)
    work = tempfile.mkdtemp(prefix='varnolt-score-')
    if sys.argv[1] == '--bench':
        subprocess.run([sys.argv[2], '1', work], check=True)
        midi_path, score = work + '/varnolt-largest.mid', work + '/varnolt-largest.musicxml'
    else:
        midi_path, score = sys.argv[1], sys.argv[2]
    check_values(score)
    back = work + '/back.musicxml'
    musescore(score, back)
    compare(midi_path, back)
    shutil.rmtree(work)


main()
