// The names of the 48 forms of a row, as the Forms dialog, the piece view and
// the score write them.
#pragma once
#include <cstdint>

#include "engine/matrices.h"

enum { FormNameSize = 8 };

// "P", "I", "R" or "RI" for a family of row_analysis.h.
const char* FormFamilyName(int32_t family);

// P-n, I-n, R-n or RI-n, with n in semitones up from p0 (the matrix's first
// entry): a row tells n by its first entry, a column by its top entry.
void NameForm(int32_t formIndex, const Matrix m, char* name);

// The 48 FormIndex values in the order of their names: P-0 to P-11, then
// I-n, R-n and RI-n alike; forms of the same name in matrix order.
void OrderFormsByName(const Matrix m, int32_t* order);
