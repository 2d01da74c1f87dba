// The Matrix dialog's random buttons: each seeds the shared generator from the
// clock and fills one working row. They change nothing else; the caller stores
// the row back into the settings.
#pragma once
#include <cstdint>

void DrawRandomToneRow();      // a permutation of the pitch classes 0..11
void DrawRandomDurationRow();  // codes 2, 3 or 4: "1/4", "1/8", "1/16"
void DrawRandomVelocityRow();  // 40, 50, ... 100

// The same draws from a given seed; the buttons give the clock's second.
void DrawToneRowFromSeed(uint32_t seed);
void DrawDurationRowFromSeed(uint32_t seed);
void DrawVelocityRowFromSeed(uint32_t seed);
