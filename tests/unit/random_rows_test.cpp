#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <ctime>

#include "dialogs/random_rows.h"
#include "engine/random.h"
#include "settings/settings.h"

// Runs draw within one second of the clock and returns that second, so a test
// can repeat the draw from the same seed; retries across a second boundary.
template <typename Draw>
static uint32_t DrawWithinOneSecond(Draw draw)
{
    for (;;) {
        std::time_t before = std::time(nullptr);
        draw();
        if (std::time(nullptr) == before) return (uint32_t)before;
    }
}

// k in 0..n-1 as the draw is defined: r * n divided by 32768 as a real number.
static int32_t ExpectedIndex(int32_t n)
{
    return (int32_t)((NextRandom() * n) / 32768.0);
}

class RandomRows : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetSettings();
        std::fill(ToneWorkRow, ToneWorkRow + RowLength, -1);
        std::fill(DurationWorkRow, DurationWorkRow + RowLength, -1);
        std::fill(VelocityWorkRow, VelocityWorkRow + RowLength, -1);
        std::memcpy(&before_, &Settings, sizeof Settings);
    }
    // Only the drawn row may change: the settings and the other rows stay.
    void ExpectOnlyRowChanged(const int32_t* drawn)
    {
        EXPECT_EQ(std::memcmp(&before_, &Settings, sizeof Settings), 0);
        for (const int32_t* row : {ToneWorkRow, DurationWorkRow, VelocityWorkRow}) {
            if (row == drawn) continue;
            EXPECT_EQ(std::count(row, row + RowLength, -1), RowLength);
        }
    }
    CompositionSettings before_;
};

TEST_F(RandomRows, ToneRowIsAPermutationDrawnByRejectionFromTheClock)
{
    SeedGenerator(DrawWithinOneSecond(DrawRandomToneRow));
    bool drawn[RowLength] = {};
    for (int filled = 0; filled < RowLength;) {
        int32_t k = ExpectedIndex(RowLength);
        if (drawn[k]) continue;
        drawn[k] = true;
        EXPECT_EQ(ToneWorkRow[filled], k) << filled;
        ++filled;
    }
    ExpectOnlyRowChanged(ToneWorkRow);
}

TEST_F(RandomRows, DurationCodesTwoToFourAndVelocitiesFortyToHundredFromTheClock)
{
    SeedGenerator(DrawWithinOneSecond(DrawRandomDurationRow));
    for (int i = 0; i < RowLength; ++i) EXPECT_EQ(DurationWorkRow[i], 2 + ExpectedIndex(3)) << i;
    EXPECT_TRUE(std::all_of(DurationWorkRow, DurationWorkRow + RowLength, [](int32_t c) { return c >= 2 && c <= 4; }));
    ExpectOnlyRowChanged(DurationWorkRow);

    std::fill(DurationWorkRow, DurationWorkRow + RowLength, -1);
    SeedGenerator(DrawWithinOneSecond(DrawRandomVelocityRow));
    for (int i = 0; i < RowLength; ++i) EXPECT_EQ(VelocityWorkRow[i], 40 + 10 * ExpectedIndex(7)) << i;
    EXPECT_TRUE(std::all_of(VelocityWorkRow, VelocityWorkRow + RowLength,
                            [](int32_t v) { return v >= 40 && v <= 100 && v % 10 == 0; }));
    ExpectOnlyRowChanged(VelocityWorkRow);
}

TEST_F(RandomRows, TwoDrawsInOneSecondGiveTheSameRowWhateverTheGeneratorDidBetween)
{
    int32_t first[RowLength];
    DrawWithinOneSecond([&] {
        SeedGenerator(12345);
        DrawRandomToneRow();
        std::copy(ToneWorkRow, ToneWorkRow + RowLength, first);
        SeedGenerator(999);
        NextRandom();
        DrawRandomToneRow();
    });
    EXPECT_TRUE(std::equal(first, first + RowLength, ToneWorkRow));
}
