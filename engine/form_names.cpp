#include "engine/form_names.h"

#include <algorithm>
#include <cstdio>

#include "engine/row_analysis.h"

static int32_t SemitonesAbove(int32_t pitchClass, int32_t p0)
{
    return ((pitchClass - p0) % 12 + 12) % 12;
}

static const char* const FamilyNames[FamilyCount] = {"P", "I", "R", "RI"};

const char* FormFamilyName(int32_t family)
{
    return FamilyNames[family];
}

// The n of the form's name: its first entry (a row's left, a column's top)
// in semitones above p0.
static int32_t NumberOfForm(int32_t formIndex, const Matrix m)
{
    int32_t a = formIndex % 12;
    int32_t family = formIndex / 12 % 4;
    bool column = family == InversionFamily || family == RetrogradeInversionFamily;
    return SemitonesAbove(column ? m[0][a] : m[a][0], m[0][0]);
}

void NameForm(int32_t formIndex, const Matrix m, char* name)
{
    std::snprintf(name, FormNameSize, "%s-%d", FamilyNames[formIndex / 12 % 4], (int)NumberOfForm(formIndex, m));
}

static int32_t NameOrder(int32_t formIndex, const Matrix m)
{
    return (formIndex / 12 % 4 * RowLength + NumberOfForm(formIndex, m)) * FormCount + formIndex;
}

void OrderFormsByName(const Matrix m, int32_t* order)
{
    for (int f = 0; f < FormCount; ++f) order[f] = f;
    std::sort(order, order + FormCount,
              [m](int32_t a, int32_t b) { return NameOrder(a, m) < NameOrder(b, m); });
}
