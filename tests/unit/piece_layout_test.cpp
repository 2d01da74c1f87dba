#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "app/piece_layout.h"
#include "engine/compose.h"
#include "engine/random.h"
#include "events/events.h"
#include "midi/playback.h"
#include "tests/unit/fakes/fakes.h"
#include "tests/unit/fakes/playback_fakes.h"

namespace {

enum { Tempo60 = 5, Tempo120 = 8 };

class PieceLayoutTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetFakes();
        ResetSettings();
        DrawRandomPool();
        WriteTempoIndex(Tempo60);
    }
    void TearDown() override
    {
        StopPlayback();
        ResetFakes();
    }
    // Voice 1 alone, its notes of the given lengths in one slot and no more.
    void OneVoice(std::initializer_list<int> lengths)
    {
        ClearVoiceLists();
        for (VoiceTrack& track : VoiceTracks) track.Active = 0;
        VoiceTracks[0].Active = 1;
        VoiceTracks[0].FormFlags[0] = 1;
        AppendProgramChange(&VoiceTracks[0].Events, 0, 0);
        int key = 60;
        for (int length : lengths) {
            AppendNoteMessage(&VoiceTracks[0].Events, 0, 0, key, 90);
            AppendNoteMessage(&VoiceTracks[0].Events, length, 0, key++, 0);
        }
        SlotCount = 1;
        TakePieceSnapshot();
    }
    ViewFrame Frame(int width)
    {
        ViewFrame f{width, 400, 96, 16, 1, 0};
        FitToWidth(&f);
        return f;
    }
};

}  // namespace

// The cursor stands on the tick of the Event last sent, moves on at the tempo
// until the next Event is due and no further, and stays where Stop left it.
TEST_F(PieceLayoutTest, CursorMovesOnFromTheEventLastSentAndStopsWhereTheMusicStopped)
{
    OneVoice({384, 384, 384});
    SetClockMilliseconds(1000);
    ASSERT_TRUE(StartPlayback());
    EXPECT_EQ(CursorTick(ReadPiecePosition(), 1900), 0);  // nothing sent yet
    SetClockMilliseconds(2000);
    ASSERT_TRUE(FirePendingTimer());
    EXPECT_DOUBLE_EQ(CursorTick(ReadPiecePosition(), 2500), 192);  // 60 beats a minute: 384 ticks a second
    EXPECT_DOUBLE_EQ(CursorTick(ReadPiecePosition(), 3400), 384);  // the timer is late: the cursor waits
    SetClockMilliseconds(3000);
    ASSERT_TRUE(FirePendingTimer());
    EXPECT_DOUBLE_EQ(CursorTick(ReadPiecePosition(), 3250), 480);
    SetClockMilliseconds(3500);
    StopPlayback();
    EXPECT_DOUBLE_EQ(CursorTick(ReadPiecePosition(), 9000), 576);
}

// A form played alone from the Forms dialog neither moves the cursor nor
// ends the piece's position; a new piece forgets it.
TEST_F(PieceLayoutTest, AFormPlayedAloneLeavesThePiecesCursorAlone)
{
    Settings.VoiceActive[0] = 1;
    Compose();
    TakePieceSnapshot();
    SetClockMilliseconds(1000);
    ASSERT_TRUE(StartPlayback());
    SetClockMilliseconds(2000);
    ASSERT_TRUE(FirePendingTimer());
    SetClockMilliseconds(2100);
    StopPlayback();
    const double before = CursorTick(ReadPiecePosition(), 50000);
    ASSERT_GT(before, 0);
    ASSERT_TRUE(StartFormPlayback(0, 5));
    for (uint32_t now = 3000; FirePendingTimer(); now += 1000) SetClockMilliseconds(now);
    EXPECT_DOUBLE_EQ(CursorTick(ReadPiecePosition(), 50000), before);
    ForgetPiecePosition();
    EXPECT_LT(CursorTick(ReadPiecePosition(), 50000), 0);
}

// A silent slot's notes are outlines and its mark bears its name in
// brackets; each slot's mark stands where its first note begins.
TEST_F(PieceLayoutTest, SlotsAreMarkedWhereTheyBeginAndSilentOnesInBrackets)
{
    Settings.VoiceActive[0] = 1;
    Settings.FormSelection[0][0] = 1;
    Settings.FormSelection[0][1] = 0;
    Settings.FormSelection[0][2] = 1;
    Compose();
    TakePieceSnapshot();
    ASSERT_EQ(Piece.SlotMarkCount, 3);
    ASSERT_EQ(Piece.NoteCount, 36);
    for (int slot = 0; slot < 3; ++slot) {
        char name[FormNameSize];
        NameForm(VoiceTracks[0].FormOrder[slot], ToneMatrix, name);
        EXPECT_EQ(Piece.Slots[slot].Name, slot == 1 ? "(" + std::string(name) + ")" : std::string(name));
        EXPECT_EQ(Piece.Slots[slot].Start, Piece.Notes[slot * RowLength].Start);
        for (int n = slot * RowLength; n < (slot + 1) * RowLength; ++n) EXPECT_EQ(Piece.Notes[n].Silent, slot == 1) << n;
    }
    EXPECT_GT(Piece.Slots[2].Start, Piece.Slots[1].Start);
}

// Zooming keeps the tick under the mouse in its place; scrolling never goes
// before the start nor past the end; a note cut by the left edge still shows.
TEST_F(PieceLayoutTest, ZoomKeepsTheTickUnderTheMouseAndScrollStaysWithinThePiece)
{
    OneVoice({384, 384, 384, 384});
    ViewFrame f = Frame(800);
    EXPECT_EQ(TickToX(f, 0), NotesLeft(f));
    EXPECT_EQ(TickToX(f, Piece.Length), NotesLeft(f) + VisibleWidth(f));  // fitted to the width
    const int anchor = TickToX(f, 700);
    ZoomAt(&f, 3, anchor);
    EXPECT_NEAR(XToTick(f, anchor), 700, 1 / f.PixelsPerTick);
    ApplyViewKey(&f, KeyEnd);
    EXPECT_NEAR(TickToX(f, Piece.Length), NotesLeft(f) + VisibleWidth(f), 1);
    ApplyWheel(&f, -10 * 120, false, anchor);  // far past the end
    EXPECT_NEAR(TickToX(f, Piece.Length), NotesLeft(f) + VisibleWidth(f), 1);
    ApplyViewKey(&f, KeyStart);
    ApplyViewKey(&f, KeyPageRight);
    EXPECT_GT(f.ScrollX, 0);
    const ViewNote& first = Piece.Notes[0];
    const ViewNote& second = Piece.Notes[1];
    ScrollTo(&f, std::lround(first.Length * f.PixelsPerTick) / 2);
    EXPECT_TRUE(ShowsAcross(f, NoteRect(f, first), 0, f.Width));
    ScrollTo(&f, std::lround((second.Start + second.Length / 2) * f.PixelsPerTick));
    EXPECT_FALSE(ShowsAcross(f, NoteRect(f, first), 0, f.Width));
    ZoomAt(&f, 1e-6, anchor);  // never smaller than the whole piece
    EXPECT_DOUBLE_EQ(f.PixelsPerTick, FitScale(f));
    EXPECT_EQ(f.ScrollX, 0);
}

TEST_F(PieceLayoutTest, SummarySaysTheVoicesSlotsAndLengthAtTheTempo)
{
    for (int v : {0, 2, 5}) Settings.VoiceActive[v] = 1;
    for (int slot = 0; slot < 4; ++slot) Settings.FormSelection[0][slot] = 1;
    Compose();
    TakePieceSnapshot();
    Piece.Length = (2 * 60 + 35) * 2 * TicksPerQuarter;  // at 120 beats a minute
    char text[SummarySize];
    PieceSummary(120, text);
    EXPECT_STREQ(text, "Piece: 3 voices, 4 slots each, 2 minutes 35 seconds at 120");
    OneVoice({60 * TicksPerQuarter});
    PieceSummary(60, text);
    EXPECT_STREQ(text, "Piece: 1 voice, 1 slot each, 1 minute at 60");
}
