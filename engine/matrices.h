// The tone, duration and velocity matrices of a composition and the 48 forms
// read from them.
#pragma once
#include <cstdint>

#include "settings/settings.h"

typedef int32_t Matrix[RowLength][RowLength];

extern Matrix ToneMatrix;
extern Matrix DurationMatrix;
extern Matrix VelocityMatrix;

// Builds the three matrices from the settings' rows: 22 permutation draws.
void BuildMatrices();

void BuildToneMatrix(const int32_t* row, Matrix m);
void BuildShuffledMatrix(const int32_t* row, Matrix m);  // 11 draws

// FormIndex 0..11 prime (row), 12..23 inversion (column), 24..35 retrograde,
// 36..47 retrograde inversion. Returns false, writing nothing, outside 0..47.
bool ExtractForm(int32_t formIndex, const Matrix m, int32_t* out);
