#include <gtest/gtest.h>

#include <cstring>

#include "settings/settings.h"

TEST(Settings, DefaultsAreTheStartingPiece)
{
    std::memset(&Settings, 0x55, sizeof Settings);
    ResetSettings();
    for (int i = 0; i < RowLength; ++i) {
        EXPECT_EQ(Settings.ToneRow[i], i);
        EXPECT_EQ(Settings.DurationRow[i], 2);
        EXPECT_EQ(Settings.VelocityRow[i], 96);
    }
    for (int v = 0; v < VoiceCount; ++v) {
        EXPECT_EQ(Settings.VoiceActive[v], v == 0 ? 1 : 0);
        EXPECT_EQ(Settings.VoiceInstrument[v], 0);
        EXPECT_EQ(Settings.VoiceOctave[v], 5);
        for (int f = 0; f < FormCount; ++f)
            EXPECT_EQ(Settings.FormSelection[v][f], v == 0 && f < 2 ? 1 : 0) << v << "," << f;
    }
    EXPECT_EQ(ReadTempoIndex(), 5);
    EXPECT_EQ(CurrentTempo(), 60);
}

TEST(Settings, DurationCodeOutsideTheTableIsAQuarterNote)
{
    for (int code : {-1, 17, 1000, -2147483647 - 1, 2147483647}) EXPECT_EQ(TicksOfDuration(code), 384) << code;
}

TEST(Settings, WorkRowsLoadTicksAndStoreCodesUnchanged)
{
    ResetSettings();
    Settings.DurationRow[0] = 0;
    Settings.DurationRow[11] = 16;
    Settings.VelocityRow[3] = 7;
    Settings.ToneRow[4] = 9;
    LoadToneWorkRow();
    LoadDurationWorkRow();
    LoadVelocityWorkRow();
    EXPECT_EQ(DurationWorkRow[0], 1536);
    EXPECT_EQ(DurationWorkRow[1], 384);
    EXPECT_EQ(DurationWorkRow[11], 36);
    EXPECT_EQ(VelocityWorkRow[3], 7);
    EXPECT_EQ(ToneWorkRow[4], 9);

    for (int i = 0; i < RowLength; ++i) {
        DurationWorkRow[i] = 2 + i % 3;
        ToneWorkRow[i] = 11 - i;
        VelocityWorkRow[i] = 40 + i;
    }
    StoreDurationWorkRow();
    StoreToneWorkRow();
    StoreVelocityWorkRow();
    for (int i = 0; i < RowLength; ++i) {
        EXPECT_EQ(Settings.DurationRow[i], 2 + i % 3);
        EXPECT_EQ(Settings.ToneRow[i], 11 - i);
        EXPECT_EQ(Settings.VelocityRow[i], 40 + i);
    }
}
