#include "dialogs/random_rows.h"

#include <ctime>

#include "engine/random.h"
#include "settings/settings.h"

static uint32_t ClockSeed()
{
    return (uint32_t)std::time(nullptr);
}

// 0..n-1 from the next generator value.
static int32_t DrawIndex(int32_t n)
{
    return (NextRandom() * n) / 32768;
}

void DrawToneRowFromSeed(uint32_t seed)
{
    SeedGenerator(seed);
    bool drawn[RowLength] = {};
    int32_t filled = 0;
    while (filled < RowLength) {
        int32_t k = DrawIndex(RowLength);
        if (drawn[k]) continue;
        drawn[k] = true;
        ToneWorkRow[filled++] = k;
    }
}

void DrawDurationRowFromSeed(uint32_t seed)
{
    SeedGenerator(seed);
    for (int32_t i = 0; i < RowLength; ++i) DurationWorkRow[i] = 2 + DrawIndex(3);
}

void DrawVelocityRowFromSeed(uint32_t seed)
{
    SeedGenerator(seed);
    for (int32_t i = 0; i < RowLength; ++i) VelocityWorkRow[i] = 40 + 10 * DrawIndex(7);
}

void DrawRandomToneRow()
{
    DrawToneRowFromSeed(ClockSeed());
}

void DrawRandomDurationRow()
{
    DrawDurationRowFromSeed(ClockSeed());
}

void DrawRandomVelocityRow()
{
    DrawVelocityRowFromSeed(ClockSeed());
}
