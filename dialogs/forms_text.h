// The plan of the piece last composed, as text for the Forms dialog: the tone
// row and p0, the tone matrix with the names of its 48 forms, and for every
// voice that took part the form each of its slots plays. Lines end in CR LF.
#pragma once
#include <cstdint>

#include "engine/matrices.h"

// Sixteen voices of 48 slots take about 17,500 characters.
enum { FormsTextSize = 32768, FormNameSize = 8 };

// P-n, I-n, R-n or RI-n, with n in semitones up from p0 (the matrix's first
// entry): a row tells n by its first entry, a column by its top entry.
void NameForm(int32_t formIndex, const Matrix m, char* name);

// Reads the ToneMatrix, SlotCount and the VoiceTracks; never writes past size.
void BuildFormsText(char* text, int32_t size);
