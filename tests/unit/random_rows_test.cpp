#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <ctime>
#include <set>
#include <vector>

#include "dialogs/random_rows.h"
#include "engine/random.h"
#include "settings/settings.h"

namespace {

using Row = std::vector<int32_t>;
Row RowOf(const int32_t* row) { return Row(row, row + RowLength); }

class RandomRows : public ::testing::Test {
protected:
    void SetUp() override { ResetSettings(); }
};

// From seed 1 the generator gives the well-known 41, 18467, 6334, 26500,
// 19169, 15724, 11478, 29358, 26962, 24464, 5705, 28145, 23281, 16827, 9961,
// 491, 2995, 11942, 4827, 5436, 32391. Worked out by hand, r * n / 32768 cut
// off: for n = 12 that is 0 6 2 9 7 5 4 10 9 8 2 10 8 6 3 0 1 4 1 1 11, of
// which the tone row keeps each first showing; for n = 3 and n = 7 the first
// twelve give the duration codes (+2) and the velocities (40 + 10k). The row of
// a seed beyond 16 bits was stepped out by a separate small program.
TEST_F(RandomRows, KnownSeedsGiveTheRowsWorkedOutApart)
{
    DrawToneRowFromSeed(1);
    EXPECT_EQ(RowOf(ToneWorkRow), (Row{0, 6, 2, 9, 7, 5, 4, 10, 8, 3, 1, 11}));
    DrawDurationRowFromSeed(1);
    EXPECT_EQ(RowOf(DurationWorkRow), (Row{2, 3, 2, 4, 3, 3, 3, 4, 4, 4, 2, 4}));
    DrawVelocityRowFromSeed(1);
    EXPECT_EQ(RowOf(VelocityWorkRow), (Row{40, 70, 50, 90, 80, 70, 60, 100, 90, 90, 50, 100}));
    DrawToneRowFromSeed(1700000000);
    EXPECT_EQ(RowOf(ToneWorkRow), (Row{10, 0, 8, 9, 3, 7, 5, 4, 2, 6, 1, 11}));
}

// Over a few hours of clock seconds: every tone row is a permutation, and the
// durations and velocities keep to their values and reach every one of them.
TEST_F(RandomRows, EveryRowOfManySecondsKeepsToItsValues)
{
    std::set<int32_t> codes, velocities;
    for (uint32_t second = 1700000000; second < 1700010000; ++second) {
        DrawToneRowFromSeed(second);
        Row tones = RowOf(ToneWorkRow);
        std::sort(tones.begin(), tones.end());
        ASSERT_EQ(tones, (Row{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11})) << second;
        DrawDurationRowFromSeed(second);
        DrawVelocityRowFromSeed(second);
        codes.insert(DurationWorkRow, DurationWorkRow + RowLength);
        velocities.insert(VelocityWorkRow, VelocityWorkRow + RowLength);
    }
    EXPECT_EQ(codes, (std::set<int32_t>{2, 3, 4}));
    EXPECT_EQ(velocities, (std::set<int32_t>{40, 50, 60, 70, 80, 90, 100}));
}

// Each press of a button seeds the generator afresh from the clock's second,
// whatever it did before, and fills its own working row only.
TEST_F(RandomRows, TheButtonsDrawFromTheClocksSecondAndChangeNothingElse)
{
    const struct {
        void (*button)();
        void (*fromSeed)(uint32_t);
        int32_t* row;
    } kinds[] = {{DrawRandomToneRow, DrawToneRowFromSeed, ToneWorkRow},
                 {DrawRandomDurationRow, DrawDurationRowFromSeed, DurationWorkRow},
                 {DrawRandomVelocityRow, DrawVelocityRowFromSeed, VelocityWorkRow}};
    for (const auto& kind : kinds) {
        for (int32_t* row : {ToneWorkRow, DurationWorkRow, VelocityWorkRow}) std::fill(row, row + RowLength, -1);
        CompositionSettings before;
        std::memcpy(&before, &Settings, sizeof Settings);
        std::time_t second;
        Row first;
        do {  // two presses within one second, the generator moved on before each
            second = std::time(nullptr);
            SeedGenerator(999);
            kind.button();
            first = RowOf(kind.row);
            NextRandom();
            kind.button();
        } while (std::time(nullptr) != second);
        const Row drawn = RowOf(kind.row);
        EXPECT_EQ(first, drawn);
        for (int32_t* row : {ToneWorkRow, DurationWorkRow, VelocityWorkRow}) {
            if (row == kind.row) continue;
            EXPECT_EQ(std::count(row, row + RowLength, -1), RowLength);
        }
        EXPECT_EQ(std::memcmp(&before, &Settings, sizeof Settings), 0);
        kind.fromSeed((uint32_t)second);
        EXPECT_EQ(drawn, RowOf(kind.row));
    }
}

}  // namespace
