// The plan of the piece last composed, as text for the Forms dialog: the tone
// row and p0; what the row is (a twelve-tone row or which pitch classes
// repeat and which are missing, its intervals, whether it is all-interval,
// its hexachordal combinatoriality); the tone matrix with the names of its
// 48 forms; and for every voice that took part the form each of its slots
// plays. Lines end in CR LF.
#pragma once
#include <cstdint>

#include "engine/form_names.h"
#include "engine/matrices.h"

// Sixteen voices of 48 slots take about 17,500 characters.
enum { FormsTextSize = 32768, FormLabelSize = 24 };

// The name, and where a row that repeats a pitch class gives another form
// the same name, the form's place too: "P-3 row 5", "RI-2 column 7".
void LabelForm(int32_t formIndex, const Matrix m, char* label);

// The instrument of a voice of the last piece, "Percussion Channel" for voice 10.
const char* VoiceInstrumentName(int32_t voice);

// Reads the ToneMatrix, SlotCount and the VoiceTracks, and writes pitch
// classes as Settings.PitchNames says; never writes past size.
void BuildFormsText(char* text, int32_t size);
