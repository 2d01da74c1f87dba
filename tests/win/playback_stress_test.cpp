// Play and Stop at random moments against the system's real multimedia
// timers, with a recording MIDI output.
#include <gtest/gtest.h>
#include <windows.h>

#include <random>

#include "events/events.h"
#include "midi/playback.h"
#include "settings/settings.h"
#include "tests/unit/test_seed.h"
#include "tests/win/support/recording_midi_out.h"

namespace {

// Two voices of short notes at tempo 200: the piece lasts about 80 ms after
// its first second, so some Stops come before the first Event, some while it
// plays, and some just as it ends by itself on the timer thread.
void ShortPiece()
{
    ClearVoiceLists();
    for (VoiceTrack& track : VoiceTracks) track.Active = 0;
    const int ticks[2][4] = {{24, 24, 24, 24}, {16, 36, 24, 32}};
    for (int v = 0; v < 2; ++v) {
        VoiceTracks[v].Active = 1;
        AppendProgramChange(&VoiceTracks[v].Events, v, 10 * v);
        for (int n = 0; n < 4; ++n) {
            AppendNoteMessage(&VoiceTracks[v].Events, 0, v, 60 + 12 * v + n, 100);
            AppendNoteMessage(&VoiceTracks[v].Events, ticks[v][n], v, 60 + 12 * v + n, 0);
        }
    }
    WriteTempoIndex(TempoCount - 1);
}

}  // namespace

TEST(PlaybackStress, ThreeHundredPlaysAndStopsAtRandomMoments)
{
    ResetSettings();
    ShortPiece();
    ResetRecordingMidiOut();
    std::mt19937 draw(TestSeed());
    int stoppedWhilePlaying = 0;
    int endedBeforeStop = 0;
    for (int cycle = 0; cycle < 300; ++cycle) {
        ASSERT_TRUE(StartPlayback());
        DWORD wait = draw() % 4 == 0 ? 1000 + draw() % 110 : draw() % 40;
        Sleep(wait);
        bool wasOpen = RecordingMidiOutOpen();
        StopPlayback();
        size_t logged = RecordedMidiLog().size();
        ASSERT_FALSE(RecordingMidiOutOpen());
        if (wait >= 1000) (wasOpen ? stoppedWhilePlaying : endedBeforeStop)++;
        if (cycle % 25 == 0) {
            Sleep(120);
            ASSERT_EQ(RecordedMidiLog().size(), logged) << "sent after Stop in cycle " << cycle;
        }
    }
    EndPlaybackForExit();

    std::vector<RecordedMidi> log = RecordedMidiLog();
    int opens = 0, closes = 0, sends = 0;
    bool sounding[16][128] = {};
    for (size_t i = 0; i < log.size(); ++i) {
        const RecordedMidi& e = log[i];
        ASSERT_TRUE(e.RightHandle) << "entry " << i;
        if (e.Action == RecordedOpen) ++opens;
        if (e.Action == RecordedSend) {
            ++sends;
            if ((e.Message & 0xF0) == 0x90) sounding[e.Message & 15][(e.Message >> 8) & 127] = (e.Message >> 16) != 0;
        }
        if (e.Action == RecordedClose) {
            ++closes;
            for (auto& channel : sounding)
                for (bool& key : channel) {
                    ASSERT_FALSE(key) << "a note was left sounding at close, entry " << i;
                    key = false;
                }
        }
    }
    EXPECT_EQ(opens, 300);
    EXPECT_EQ(closes, 300);
    EXPECT_GT(sends, 0);
    // Both races must actually have been run.
    EXPECT_GT(stoppedWhilePlaying, 3);
    EXPECT_GT(endedBeforeStop, 3);
    std::printf("%d sends; %d stops while playing, %d pieces ended before their stop\n", sends, stoppedWhilePlaying,
                endedBeforeStop);
}
