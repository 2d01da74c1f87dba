#include "engine/matrices.h"

#include "engine/random.h"

Matrix ToneMatrix;
Matrix DurationMatrix;
Matrix VelocityMatrix;

static int32_t Interval(int32_t from, int32_t to)
{
    int32_t d = to - from;
    return d < 0 ? d + 12 : d;
}

static int32_t Shift(int32_t x, int32_t d)
{
    int32_t y = x + d;
    if (y > 11) return y - 12;
    if (y < 0) return y + 12;
    return y;
}

void BuildToneMatrix(const int32_t* row, Matrix m)
{
    for (int j = 0; j < RowLength; ++j) m[0][j] = row[j];
    // column 0 mirrors each step of the row: the inversion starting on row[0]
    for (int i = 1; i < RowLength; ++i) m[i][0] = Shift(m[i - 1][0], -Interval(row[i - 1], row[i]));
    for (int i = 1; i < RowLength; ++i) {
        int32_t t = Interval(m[0][0], m[i][0]);
        for (int j = 1; j < RowLength; ++j) m[i][j] = Shift(m[0][j], t);
    }
}

void BuildShuffledMatrix(const int32_t* row, Matrix m)
{
    for (int j = 0; j < RowLength; ++j) m[0][j] = row[j];
    for (int i = 1; i < RowLength; ++i) {
        int32_t p[RowLength];
        DrawPermutation(RowLength, p);
        for (int j = 0; j < RowLength; ++j) m[i][j] = row[p[j]];
    }
}

void BuildMatrices()
{
    LoadToneWorkRow();
    BuildToneMatrix(ToneWorkRow, ToneMatrix);
    LoadDurationWorkRow();
    BuildShuffledMatrix(DurationWorkRow, DurationMatrix);
    LoadVelocityWorkRow();
    BuildShuffledMatrix(VelocityWorkRow, VelocityMatrix);
}

bool ExtractForm(int32_t formIndex, const Matrix m, int32_t* out)
{
    if (formIndex < 0 || formIndex >= 48) return false;
    int32_t a = formIndex % 12;
    int32_t kind = formIndex / 12;
    for (int k = 0; k < RowLength; ++k) {
        switch (kind) {
        case 0: out[k] = m[a][k]; break;
        case 1: out[k] = m[k][a]; break;
        case 2: out[k] = m[a][11 - k]; break;
        default: out[k] = m[11 - k][a]; break;
        }
    }
    return true;
}
