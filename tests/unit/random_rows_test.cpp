#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <ctime>
#include <set>

#include "dialogs/random_rows.h"
#include "engine/random.h"
#include "settings/settings.h"

// Runs draw within one second of the clock and returns that second, so a test
// can compare with a draw seeded from it; retries across a second boundary.
template <typename Draw>
static uint32_t DrawWithinOneSecond(Draw draw)
{
    for (;;) {
        std::time_t before = std::time(nullptr);
        draw();
        if (std::time(nullptr) == before) return (uint32_t)before;
    }
}

static int32_t ExpectedIndex(int32_t n)
{
    return (int32_t)((NextRandom() * n) / 32768.0);
}

class RandomRows : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetSettings();
        for (int i = 0; i < RowLength; ++i) ToneWorkRow[i] = DurationWorkRow[i] = VelocityWorkRow[i] = -1;
        std::memcpy(&before_, &Settings, sizeof Settings);
    }
    void ExpectSettingsUntouched() { EXPECT_EQ(std::memcmp(&before_, &Settings, sizeof Settings), 0); }
    CompositionSettings before_;
};

TEST_F(RandomRows, ToneRowIsAPermutationDrawnFromTheClockAndTouchesNothingElse)
{
    uint32_t second = DrawWithinOneSecond(DrawRandomToneRow);
    int32_t sorted[RowLength];
    std::copy(ToneWorkRow, ToneWorkRow + RowLength, sorted);
    std::sort(sorted, sorted + RowLength);
    for (int i = 0; i < RowLength; ++i) EXPECT_EQ(sorted[i], i);

    SeedGenerator(second);
    bool drawn[RowLength] = {};
    for (int filled = 0; filled < RowLength;) {
        int32_t k = ExpectedIndex(RowLength);
        if (drawn[k]) continue;
        drawn[k] = true;
        EXPECT_EQ(ToneWorkRow[filled], k) << filled;
        ++filled;
    }
    for (int i = 0; i < RowLength; ++i) EXPECT_EQ(DurationWorkRow[i], -1);
    for (int i = 0; i < RowLength; ++i) EXPECT_EQ(VelocityWorkRow[i], -1);
    ExpectSettingsUntouched();
}

TEST_F(RandomRows, DurationRowHoldsCodesTwoToFourDrawnFromTheClock)
{
    uint32_t second = DrawWithinOneSecond(DrawRandomDurationRow);
    SeedGenerator(second);
    for (int i = 0; i < RowLength; ++i) {
        EXPECT_GE(DurationWorkRow[i], 2);
        EXPECT_LE(DurationWorkRow[i], 4);
        EXPECT_EQ(DurationWorkRow[i], 2 + ExpectedIndex(3)) << i;
    }
    for (int i = 0; i < RowLength; ++i) EXPECT_EQ(ToneWorkRow[i], -1);
    ExpectSettingsUntouched();
}

TEST_F(RandomRows, VelocityRowHoldsTensFromFortyToHundredDrawnFromTheClock)
{
    uint32_t second = DrawWithinOneSecond(DrawRandomVelocityRow);
    SeedGenerator(second);
    for (int i = 0; i < RowLength; ++i) {
        EXPECT_GE(VelocityWorkRow[i], 40);
        EXPECT_LE(VelocityWorkRow[i], 100);
        EXPECT_EQ(VelocityWorkRow[i] % 10, 0);
        EXPECT_EQ(VelocityWorkRow[i], 40 + 10 * ExpectedIndex(7)) << i;
    }
    for (int i = 0; i < RowLength; ++i) EXPECT_EQ(DurationWorkRow[i], -1);
    ExpectSettingsUntouched();
}

TEST_F(RandomRows, TwoDrawsInOneSecondGiveTheSameRowWhateverTheGeneratorDidBetween)
{
    int32_t first[RowLength];
    DrawWithinOneSecond([&] {
        SeedGenerator(12345);
        DrawRandomToneRow();
        std::copy(ToneWorkRow, ToneWorkRow + RowLength, first);
        SeedGenerator(999);
        for (int i = 0; i < 7; ++i) NextRandom();
        DrawRandomToneRow();
    });
    EXPECT_TRUE(std::equal(first, first + RowLength, ToneWorkRow));
}
