#include "engine/row_analysis.h"

enum { HexachordLength = RowLength / 2, AllPitchClasses = 0xFFF };

static int32_t Mod12(int32_t x)
{
    return (x % 12 + 12) % 12;
}

void NamedForm(const int32_t* row, int32_t family, int32_t n, int32_t* form)
{
    bool inverted = family == InversionFamily || family == RetrogradeInversionFamily;
    bool backwards = family == RetrogradeFamily || family == RetrogradeInversionFamily;
    for (int k = 0; k < RowLength; ++k) {
        int32_t x = row[backwards ? RowLength - 1 - k : k];
        form[k] = inverted ? Mod12(2 * row[0] + n - x) : Mod12(x + n);
    }
}

// The set of the first six pitch classes, one bit per pitch class.
static int32_t FirstHexachord(const int32_t* pitchClasses)
{
    int32_t set = 0;
    for (int k = 0; k < HexachordLength; ++k) set |= 1 << Mod12(pitchClasses[k]);
    return set;
}

static void FindComplements(const int32_t* row, RowAnalysis* analysis)
{
    const int32_t complement = AllPitchClasses & ~FirstHexachord(row);
    for (int family = 0; family < FamilyCount; ++family)
        for (int n = 0; n < RowLength; ++n) {
            int32_t form[RowLength];
            NamedForm(row, family, n, form);
            analysis->Complements[family][n] = analysis->TwelveTone && FirstHexachord(form) == complement;
        }
}

void AnalyseRow(const int32_t* row, RowAnalysis* analysis)
{
    *analysis = RowAnalysis{};
    for (int k = 0; k < RowLength; ++k) ++analysis->Occurrences[Mod12(row[k])];
    analysis->TwelveTone = true;
    for (int32_t count : analysis->Occurrences) analysis->TwelveTone &= count == 1;
    int32_t intervalsSeen = 0;
    for (int k = 0; k + 1 < RowLength; ++k) {
        analysis->Intervals[k] = Mod12(row[k + 1] - row[k]);
        intervalsSeen |= 1 << analysis->Intervals[k];
    }
    // All-interval is said of twelve-tone rows only, whatever intervals another row has.
    analysis->AllInterval = analysis->TwelveTone && intervalsSeen == (AllPitchClasses & ~1);
    FindComplements(row, analysis);
}
