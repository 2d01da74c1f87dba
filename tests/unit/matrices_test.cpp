#include <gtest/gtest.h>

#include <set>

#include "engine/matrices.h"
#include "engine/random.h"

static void ExpectClosedForm(const int32_t* r, const Matrix m)
{
    for (int i = 0; i < 12; ++i)
        for (int j = 0; j < 12; ++j)
            EXPECT_EQ(m[i][j], ((r[j] - r[i] + r[0]) % 12 + 12) % 12) << i << "," << j;
}

TEST(ToneMatrix, DefaultRowGivesDescendingInversion)
{
    int32_t r[12] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11};
    Matrix m;
    BuildToneMatrix(r, m);
    const int32_t row1[12] = {11, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
    for (int j = 0; j < 12; ++j) EXPECT_EQ(m[1][j], row1[j]);
    for (int i = 0; i < 12; ++i) EXPECT_EQ(m[i][0], (12 - i) % 12);
    ExpectClosedForm(r, m);
}

TEST(ToneMatrix, AnyRowIncludingRepeatsFollowsTheClosedForm)
{
    const int32_t rows[][12] = {
        {7, 3, 11, 0, 5, 2, 9, 1, 10, 4, 8, 6},
        {5, 5, 5, 0, 11, 11, 3, 3, 3, 7, 0, 1},
        {11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1, 0},
    };
    for (const auto& r : rows) {
        Matrix m;
        BuildToneMatrix(r, m);
        ExpectClosedForm(r, m);
        for (int i = 0; i < 12; ++i) EXPECT_EQ(m[i][i], r[0]);
    }
}

TEST(Forms, ReadInEveryDirection)
{
    const int32_t r[12] = {7, 3, 11, 0, 5, 2, 9, 1, 10, 4, 8, 6};
    Matrix m;
    BuildToneMatrix(r, m);
    int32_t f[12];
    ASSERT_TRUE(ExtractForm(0, m, f));
    for (int k = 0; k < 12; ++k) EXPECT_EQ(f[k], r[k]);
    // inversion starting on r[0]: each interval of the row mirrored
    ASSERT_TRUE(ExtractForm(12, m, f));
    EXPECT_EQ(f[0], r[0]);
    for (int k = 1; k < 12; ++k) EXPECT_EQ(((f[k] - f[k - 1]) + 24) % 12, ((r[k - 1] - r[k]) + 24) % 12) << k;
    ASSERT_TRUE(ExtractForm(24, m, f));
    for (int k = 0; k < 12; ++k) EXPECT_EQ(f[k], r[11 - k]);
    int32_t inv[12], ri[12];
    ExtractForm(12, m, inv);
    ASSERT_TRUE(ExtractForm(36, m, ri));
    for (int k = 0; k < 12; ++k) EXPECT_EQ(ri[k], inv[11 - k]);
    // prime 3 is row 3, whatever it starts on; retrograde inversion 40 is column 4 upwards
    ExtractForm(3, m, f);
    for (int k = 0; k < 12; ++k) EXPECT_EQ(f[k], m[3][k]);
    ExtractForm(40, m, f);
    for (int k = 0; k < 12; ++k) EXPECT_EQ(f[k], m[11 - k][4]);
}

TEST(Forms, IndexOutsideTheFormsIsRefused)
{
    Matrix m = {};
    int32_t f[12] = {99};
    EXPECT_FALSE(ExtractForm(-1, m, f));
    EXPECT_FALSE(ExtractForm(48, m, f));
    EXPECT_EQ(f[0], 99);
}

TEST(ShuffledMatrices, RowsReorderTheUsersRowAndUseTwentyTwoSeeds)
{
    ResetSettings();
    DrawRandomPool();
    const int32_t codes[12] = {0, 1, 2, 3, 4, 5, 6, 7, 11, 12, 15, 16};
    for (int i = 0; i < 12; ++i) {
        Settings.DurationRow[i] = codes[i];
        Settings.VelocityRow[i] = 10 * i + 1;
    }
    BuildMatrices();
    EXPECT_EQ(SeedPosition, 22);
    for (int j = 0; j < 12; ++j) {
        EXPECT_EQ(DurationMatrix[0][j], TicksOfDuration(codes[j]));
        EXPECT_EQ(VelocityMatrix[0][j], 10 * j + 1);
    }
    bool someRowDiffers = false;
    for (int i = 1; i < 12; ++i) {
        std::multiset<int32_t> d(DurationMatrix[i], DurationMatrix[i] + 12), d0(DurationMatrix[0], DurationMatrix[0] + 12);
        std::multiset<int32_t> v(VelocityMatrix[i], VelocityMatrix[i] + 12), v0(VelocityMatrix[0], VelocityMatrix[0] + 12);
        EXPECT_EQ(d, d0) << i;
        EXPECT_EQ(v, v0) << i;
        for (int j = 0; j < 12; ++j) someRowDiffers |= VelocityMatrix[i][j] != VelocityMatrix[0][j];
    }
    EXPECT_TRUE(someRowDiffers);
}

TEST(ShuffledMatrices, DurationsComeFromSeedsOneToElevenVelocitiesFromTwelveOn)
{
    ResetSettings();
    DrawRandomPool();
    for (int i = 0; i < 12; ++i) Settings.VelocityRow[i] = i;
    BuildMatrices();
    // velocity row i was drawn from pool seed 11 + (i - 1)
    SeedPosition = 11 + 4;
    int32_t p[12];
    DrawPermutation(12, p);
    for (int j = 0; j < 12; ++j) EXPECT_EQ(VelocityMatrix[5][j], p[j]);
}
