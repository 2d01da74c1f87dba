// What a tone row offers a composer before anything is composed on it:
// whether it holds every pitch class once, the intervals between its
// neighbours, and which of its 48 forms complement its first hexachord.
#pragma once
#include <cstdint>

#include "settings/settings.h"

// The four families of forms, in the order of their names P, I, R, RI.
enum { PrimeFamily, InversionFamily, RetrogradeFamily, RetrogradeInversionFamily, FamilyCount };

struct RowAnalysis {
    int32_t Occurrences[RowLength];     // how often each pitch class 0..11 comes
    bool TwelveTone;                    // every pitch class exactly once
    int32_t Intervals[RowLength - 1];   // semitones up from each note to the next, 0..11
    bool AllInterval;                   // a twelve-tone row whose intervals 1..11 all come
    // [family][n]: the first six pitch classes of the form P-n, I-n, R-n or
    // RI-n are the six that the row's first six leave out. Judged for a
    // twelve-tone row only; all false otherwise. R-0 always is.
    bool Complements[FamilyCount][RowLength];
};

// Row: twelve pitch classes 0..11, repeats allowed.
void AnalyseRow(const int32_t* row, RowAnalysis* analysis);

// The pitch classes of the form of the row named by family and n, with n
// in semitones up from the row's first pitch class: P-n starts on p0 + n,
// I-n is the inversion starting there, R-n and RI-n read them backwards.
void NamedForm(const int32_t* row, int32_t family, int32_t n, int32_t* form);
