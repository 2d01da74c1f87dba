#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/row_analysis.h"

namespace {

// The forms that complement the row's first hexachord, P, I, R, RI in turn.
std::vector<std::string> Complementing(const RowAnalysis& a)
{
    static const char* const families[] = {"P-", "I-", "R-", "RI-"};
    std::vector<std::string> names;
    for (int family = 0; family < FamilyCount; ++family)
        for (int n = 0; n < RowLength; ++n)
            if (a.Complements[family][n]) names.push_back(families[family] + std::to_string(n));
    return names;
}

struct KnownRow {
    const char* what;
    std::vector<int32_t> row, intervals;
    bool allInterval;
    std::vector<std::string> complements;
};

}  // namespace

// Rows whose properties are known: by hand, or from the literature.
TEST(RowAnalysis, TwelveToneRowsTheirIntervalsAndTheFormsThatComplementTheirFirstHexachord)
{
    const KnownRow rows[] = {
        // 0..5 is left 6..11: P-6 starts there, I-11 runs 11 10 .. 6, and
        // RI-5 is I-5 (5 4 .. 0 11 .. 6) backwards.
        {"the chromatic scale", {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}, {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1}, false,
         {"P-6", "I-11", "R-0", "RI-5"}},
        {"Berg's all-interval row of the Lyric Suite", {5, 4, 0, 9, 7, 2, 8, 1, 3, 6, 10, 11},
         {11, 8, 9, 10, 7, 6, 5, 2, 3, 4, 1}, true, {"P-6", "I-5", "R-0", "RI-11"}},
        {"Schoenberg's Op. 31, combinatorial under inversion a minor third down",
         {10, 4, 6, 3, 5, 9, 2, 1, 7, 8, 11, 0}, {6, 2, 9, 2, 4, 5, 11, 6, 1, 3, 1}, false, {"I-9", "R-0"}},
        // Every interval but 11, and 9 twice: one short of all-interval.
        {"a row without 11", {9, 6, 11, 8, 2, 0, 4, 5, 7, 3, 10, 1}, {9, 5, 9, 6, 10, 4, 1, 2, 8, 7, 3}, false,
         {"R-0", "RI-2"}},
    };
    for (const KnownRow& known : rows) {
        RowAnalysis a;
        AnalyseRow(known.row.data(), &a);
        EXPECT_TRUE(a.TwelveTone) << known.what;
        EXPECT_EQ(std::vector<int32_t>(a.Intervals, a.Intervals + 11), known.intervals) << known.what;
        EXPECT_EQ(a.AllInterval, known.allInterval) << known.what;
        EXPECT_EQ(Complementing(a), known.complements) << known.what;
    }
}

// Its first six are those of the chromatic scale, whose complement P-6
// starts with; but a row that repeats 6 and 8 has no aggregates to combine.
TEST(RowAnalysis, ARowWithRepeatsCountsThemAndJudgesNoCombinatoriality)
{
    const int32_t row[RowLength] = {0, 1, 2, 3, 4, 5, 6, 6, 8, 8, 8, 11};
    RowAnalysis a;
    AnalyseRow(row, &a);
    EXPECT_FALSE(a.TwelveTone);
    EXPECT_EQ(std::vector<int32_t>(a.Occurrences, a.Occurrences + 12),
              (std::vector<int32_t>{1, 1, 1, 1, 1, 1, 2, 0, 3, 0, 0, 1}));
    EXPECT_EQ(std::vector<int32_t>(a.Intervals, a.Intervals + 11),
              (std::vector<int32_t>{1, 1, 1, 1, 1, 1, 0, 2, 0, 0, 3}));
    EXPECT_FALSE(a.AllInterval);
    EXPECT_TRUE(Complementing(a).empty());
    // Every interval once, but no twelve-tone row.
    const int32_t everyInterval[RowLength] = {0, 5, 0, 1, 3, 6, 10, 4, 0, 9, 7, 6};
    AnalyseRow(everyInterval, &a);
    EXPECT_FALSE(a.AllInterval);
}
