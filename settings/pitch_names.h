// How pitch classes are written wherever the program shows them: as the
// numbers 0..11, or as note names spelled with sharps or with flats.
#pragma once
#include <cstdint>

enum PitchNaming { PitchNumbers = 0, PitchSharps = 1, PitchFlats = 2, PitchNamingCount = 3 };

// "1", "C#" or "Db" for pitch class 1; the class is taken modulo 12.
const char* PitchClassName(int32_t pitchClass, int32_t naming);
