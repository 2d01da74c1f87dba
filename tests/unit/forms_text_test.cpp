#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "dialogs/forms_text.h"
#include "engine/compose.h"

namespace {

// The manual's worked row and its matrix with the names it works out: P-n
// left, I-n above; R-n and RI-n, the same rows and columns read backwards.
const int32_t ManualRow[RowLength] = {3, 11, 7, 8, 4, 0, 10, 1, 9, 6, 2, 5};
const std::string ManualMatrix =
    "Tone row: 3 11 7 8 4 0 10 1 9 6 2 5\r\n"
    "p0: 3\r\n"
    "\r\n"
    "        I-0   I-8   I-4   I-5   I-1   I-9   I-7  I-10   I-6   I-3  I-11   I-2\r\n"
    "P-0       3    11     7     8     4     0    10     1     9     6     2     5   R-0\r\n"
    "P-4       7     3    11     0     8     4     2     5     1    10     6     9   R-4\r\n"
    "P-8      11     7     3     4     0     8     6     9     5     2    10     1   R-8\r\n"
    "P-7      10     6     2     3    11     7     5     8     4     1     9     0   R-7\r\n"
    "P-11      2    10     6     7     3    11     9     0     8     5     1     4   R-11\r\n"
    "P-3       6     2    10    11     7     3     1     4     0     9     5     8   R-3\r\n"
    "P-5       8     4     0     1     9     5     3     6     2    11     7    10   R-5\r\n"
    "P-2       5     1     9    10     6     2     0     3    11     8     4     7   R-2\r\n"
    "P-6       9     5     1     2    10     6     4     7     3     0     8    11   R-6\r\n"
    "P-9       0     8     4     5     1     9     7    10     6     3    11     2   R-9\r\n"
    "P-1       4     0     8     9     5     1    11     2    10     7     3     6   R-1\r\n"
    "P-10      1     9     5     6     2    10     8    11     7     4     0     3   R-10\r\n"
    "       RI-0  RI-8  RI-4  RI-5  RI-1  RI-9  RI-7 RI-10  RI-6  RI-3 RI-11  RI-2\r\n";

std::string FormsText()
{
    static char text[FormsTextSize];
    BuildFormsText(text, sizeof text);
    return text;
}

void TakePart(int32_t v, int32_t program, int32_t octave, std::initializer_list<int32_t> order,
              std::initializer_list<int32_t> flags)
{
    VoiceTrack* track = &VoiceTracks[v];
    track->Active = 1;
    track->Program = program;
    track->Octave = octave;
    std::fill(track->FormFlags, track->FormFlags + FormCount, 0);
    std::copy(order.begin(), order.end(), track->FormOrder);
    std::copy(flags.begin(), flags.end(), track->FormFlags);
}

class FormsTextTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        BuildToneMatrix(ManualRow, ToneMatrix);
        for (VoiceTrack& track : VoiceTracks) track.Active = 0;
        SlotCount = 0;
    }
};

}  // namespace

TEST_F(FormsTextTest, ManualRowGivesTheManualsMatrixAndNames)
{
    EXPECT_EQ(FormsText(), ManualMatrix + "\r\nNo voice took part.\r\n");
}

// Forms 1, 13, 25 and 37 are row 1 and column 1 of the manual's matrix; the
// flags of voice 10 tick no slot.
TEST_F(FormsTextTest, EveryVoiceInOrderWithItsSlotsAndTheSilentOnesInParentheses)
{
    SlotCount = 3;
    TakePart(9, 0, 4, {37, 0, 47}, {0, 0, 0, 1});
    TakePart(1, 40, 3, {1, 13, 25, 2}, {1, 0, 1});
    EXPECT_EQ(FormsText(), ManualMatrix +
                               "\r\nVoice 2: violin, octave 3\r\n"
                               "  slot  1  P-4\r\n  slot  2  (I-8)\r\n  slot  3  R-4\r\n"
                               "\r\nVoice 10: Percussion Channel, octave 4\r\n"
                               "  slot  1  (RI-8)\r\n  slot  2  (P-0)\r\n  slot  3  (RI-2)\r\n");
}
