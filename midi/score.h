// The piece of the last Compose as a score: uncompressed MusicXML 3.1,
// score-partwise, one part per active voice, 4/4 at 96 divisions a quarter.
//
// Each note lasts exactly as long as in the MIDI file. Notes are cut at
// barlines and at beat edges and tied; a beat where a triplet value makes a
// cut point fall off the 1/128 grid is one complete 3:2 bracket a quarter
// wide, each of its pieces written at 3/2 of its length. A length that is no
// single value becomes tied single values. Every part has the same number of
// measures, the shorter ones ending in rests.
//
// Clefs from the voice's octave (middle C is octave 5): 0 and 1 the bass clef
// two octaves down, 2 the bass clef an octave down, 3 and 4 the bass clef,
// 5 and 6 the treble clef, 7 the treble clef an octave up, 8 two octaves up.
#pragma once
#include <cstdint>
#include <string>

// The text of the last score made.
extern std::string ScoreText;

// The score of the voice tracks and the tone matrix, titled as given (UTF-8),
// at the tempo chosen now.
void BuildScoreText(const char* title);

// The title a file name gives: its last part without the extension.
std::string ScoreTitle(const char* fileName);

// A score holds one part at least: false, with an error box, for a piece
// composed with no voice.
bool PieceHasAScore();

// Builds the score and puts it in place of the named file in one piece, as
// a piece is saved: a file that cannot be written is reported and any
// earlier file is kept. A piece with no voice writes nothing.
bool WriteScoreFile(const char* name);
