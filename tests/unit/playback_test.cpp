#include <gtest/gtest.h>

#include <chrono>
#include <random>
#include <thread>
#include <vector>

#include "engine/matrices.h"
#include "events/events.h"
#include "midi/playback.h"
#include "tests/unit/fakes/fakes.h"
#include "tests/unit/fakes/playback_fakes.h"
#include "tests/unit/test_seed.h"

namespace {

enum { Tempo10 = 0, Tempo60 = 5, Tempo120 = 8, Tempo200 = 11 };

void FreshSong()
{
    ClearVoiceLists();
    for (VoiceTrack& track : VoiceTracks) track.Active = 0;
}

void AddVoice(int v, int program, const std::vector<std::pair<int, int>>& keysAndTicks, int velocity = 96)
{
    VoiceTracks[v].Active = 1;
    AppendProgramChange(&VoiceTracks[v].Events, v, program);
    for (auto [key, ticks] : keysAndTicks) {
        AppendNoteMessage(&VoiceTracks[v].Events, 0, v, key, velocity);
        AppendNoteMessage(&VoiceTracks[v].Events, ticks, v, key, 0);
    }
}

uint32_t NoteOn(int channel, int key, int velocity) { return PackShortMessage(ShortNoteOn, channel, key, velocity); }
uint32_t Program(int channel, int program) { return PackShortMessage(ShortProgramChange, channel, program, 0); }

std::vector<uint32_t> Delays()
{
    std::vector<uint32_t> delays;
    for (const FakeTimer& t : StartedTimers()) delays.push_back(t.Delay);
    return delays;
}

// Fires timers until none is pending; returns how many fired.
int PlayToTheEnd()
{
    int fired = 0;
    while (FirePendingTimer()) ++fired;
    return fired;
}

// Every entry of the MIDI log went to the output that was open at the time,
// and every note started on an output was ended before that output closed.
void ExpectCleanOutput(const std::vector<MidiOutEntry>& log)
{
    bool sounding[16][128] = {};
    for (size_t i = 0; i < log.size(); ++i) {
        const MidiOutEntry& e = log[i];
        EXPECT_TRUE(e.RightHandle) << "entry " << i;
        if (e.Action == MidiSent && (e.Message & 0xF0) == ShortNoteOn)
            sounding[e.Message & 15][(e.Message >> 8) & 127] = ((e.Message >> 16) & 0xFF) > 0;
        if (e.Action == MidiClosed)
            for (int c = 0; c < 16; ++c)
                for (int k = 0; k < 128; ++k) {
                    EXPECT_FALSE(sounding[c][k]) << "channel " << c << " key " << k << " left sounding";
                    sounding[c][k] = false;
                }
    }
}

class PlaybackTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetFakes();
        ResetSettings();
        WriteTempoIndex(Tempo60);
        FreshSong();
    }
    void TearDown() override
    {
        StopPlayback();
        ResetFakes();
    }
};

}  // namespace

TEST(ShortMessage, PackedLowByteFirst)
{
    EXPECT_EQ(PackShortMessage(ShortProgramChange, 2, 40, 0), 0x000028C2u);
    EXPECT_EQ(PackShortMessage(ShortNoteOn, 0, 60, 96), 0x00603C90u);
    EXPECT_EQ(PackShortMessage(ShortNoteOn, 0, 60, 0), 0x00003C90u);
    EXPECT_EQ(PackShortMessage(ShortNoteOn, 15, 127, 127), 0x007F7F9Fu);
}

TEST(TickDelays, TruncatedToWholeMillisecondsAtTheGivenTempo)
{
    EXPECT_EQ(DelayOfTicks(384, 60), 1000u);
    EXPECT_EQ(DelayOfTicks(96, 60), 250u);
    EXPECT_EQ(DelayOfTicks(24, 60), 62u);
    EXPECT_EQ(DelayOfTicks(96, 120), 125u);
    EXPECT_EQ(DelayOfTicks(96, 80), 187u);
    EXPECT_EQ(DelayOfTicks(1536, 10), 24000u);
    EXPECT_EQ(DelayOfTicks(16, 200), 12u);
    // Exactly the floor of ticks * 60000 / (bpm * 384) for every gap a piece
    // can hold, on every build: the x87 unit of a 32-bit build once cut
    // some of them a millisecond short.
    for (int32_t bpm : TempoTable)
        for (int32_t ticks = 1; ticks <= 1536; ++ticks) {
            const uint32_t floor = (uint32_t)(ticks * 60000 / (bpm * 384));
            ASSERT_EQ(DelayOfTicks(ticks, bpm), floor > 0 ? floor : 1u) << ticks << " at " << bpm;
        }
    // A timer cannot wait 0 ms: less than a millisecond waits one.
    EXPECT_EQ(DelayOfTicks(1, 200), 1u);
}

TEST_F(PlaybackTest, TimerPeriodFollowsTheSystemsLimits)
{
    struct {
        uint32_t min, max;
        bool available;
        uint32_t period, firstDelay;
    } cases[] = {
        {1, 1000000, true, 5, 1000}, {10, 65535, true, 10, 1000}, {1, 3, true, 3, 1000},
        {1500, 65535, true, 1500, 1500}, {0, 0, false, 5, 1000},
    };
    for (auto& c : cases) {
        ResetFakes();
        SetTimerCaps(c.min, c.max, c.available);
        ASSERT_TRUE(StartPlayback());
        ASSERT_EQ(StartedTimers().size(), 1u);
        EXPECT_EQ(StartedTimers()[0].Delay, c.firstDelay);
        EXPECT_EQ(StartedTimers()[0].Resolution, c.period);
        EXPECT_EQ(PeriodsBegun(), std::vector<uint32_t>{c.period});
        StopPlayback();
        EXPECT_EQ(PeriodsEnded(), std::vector<uint32_t>{c.period});
    }
}

TEST_F(PlaybackTest, AnEmptyPieceOpensAndClosesOneSecondLaterSendingNothing)
{
    ASSERT_TRUE(StartPlayback());
    EXPECT_TRUE(MidiOutIsOpen());
    EXPECT_EQ(Delays(), std::vector<uint32_t>{1000});
    EXPECT_EQ(CommandsShownLog(), std::vector<CommandsShown>{CommandsPlaying});
    EXPECT_EQ(PlayToTheEnd(), 1);
    EXPECT_FALSE(MidiOutIsOpen());
    EXPECT_EQ(MidiOutOpens(), 1);
    EXPECT_EQ(MidiOutCloses(), 1);
    EXPECT_TRUE(MidiSentMessages().empty());
    EXPECT_EQ(PeriodsEnded(), std::vector<uint32_t>{5});
    EXPECT_EQ(CommandsShownLog(), (std::vector<CommandsShown>{CommandsPlaying, CommandsIdle}));
    EXPECT_TRUE(ReportedErrors.empty());
}

TEST_F(PlaybackTest, TheTempoIsReadAtEveryCallback)
{
    WriteTempoIndex(Tempo10);
    AddVoice(0, 0, {{60, 1536}, {61, 384}, {62, 384}});
    ASSERT_TRUE(StartPlayback());
    ASSERT_TRUE(FirePendingTimer());
    WriteTempoIndex(Tempo120);
    ASSERT_TRUE(FirePendingTimer());
    WriteTempoIndex(Tempo200);
    PlayToTheEnd();
    EXPECT_EQ(Delays(), (std::vector<uint32_t>{1000, 24000, 500, 300}));
    // Only the first timer asks for the raised resolution; the later ones ask for 0.
    for (size_t i = 1; i < StartedTimers().size(); ++i) EXPECT_EQ(StartedTimers()[i].Resolution, 0u);
}

// A Play that cannot start says why in one box and leaves the commands as
// they were, with nothing left open.
TEST_F(PlaybackTest, AnOutputThatCannotBeOpenedIsReportedInTheSystemsWords)
{
    AddVoice(0, 0, {{60, 384}});
    FailMidiOpen(69);
    EXPECT_FALSE(StartPlayback());
    EXPECT_EQ(ReportedErrors, std::vector<std::string>{"ERROR: Cannot open the MIDI output: the system's text for 69"});
    EXPECT_TRUE(MidiOutLog().empty());
    EXPECT_TRUE(StartedTimers().empty());
    EXPECT_TRUE(PeriodsBegun().empty());
    EXPECT_TRUE(CommandsShownLog().empty());
    EXPECT_EQ(CountEvents(&PlaybackList), 3);  // the merge has been done all the same
}

TEST_F(PlaybackTest, AFirstTimerThatCannotStartIsReportedAndClosesTheOutput)
{
    AddVoice(0, 0, {{60, 384}});
    FailTimerStartsAfter(0);
    EXPECT_FALSE(StartPlayback());
    EXPECT_EQ(ReportedErrors, std::vector<std::string>{"ERROR: Cannot start the playback timer"});
    EXPECT_EQ(MidiOutOpens(), 1);
    EXPECT_FALSE(MidiOutIsOpen());
    EXPECT_TRUE(MidiSentMessages().empty());
    EXPECT_EQ(PeriodsBegun(), PeriodsEnded());
    EXPECT_TRUE(CommandsShownLog().empty());
}

TEST_F(PlaybackTest, APieceThatCannotBeMergedForLackOfMemoryIsReported)
{
    AddVoice(0, 0, {{60, 384}, {62, 384}});
    EventAllocationsLeft = 2;
    EXPECT_FALSE(StartPlayback());
    EXPECT_EQ(ReportedErrors, std::vector<std::string>{"ERROR: Not enough memory to play the piece"});
    EXPECT_TRUE(MidiOutLog().empty());
    EXPECT_TRUE(StartedTimers().empty());
    EXPECT_TRUE(CommandsShownLog().empty());
    // With memory again, the same Play plays.
    EventAllocationsLeft = -1;
    ASSERT_TRUE(StartPlayback());
    EXPECT_EQ(CountEvents(&PlaybackList), 5);
}

TEST_F(PlaybackTest, ALaterTimerThatCannotStartReportsAndEndsPlayback)
{
    AddVoice(0, 0, {{60, 384}, {62, 384}});
    FailTimerStartsAfter(1);
    ASSERT_TRUE(StartPlayback());
    ASSERT_TRUE(FirePendingTimer());
    EXPECT_EQ(ReportedErrors, std::vector<std::string>{"ERROR: timer ID"});
    EXPECT_EQ(MidiSentMessages(), (std::vector<uint32_t>{Program(0, 0), NoteOn(0, 60, 96), NoteOn(0, 60, 0)}));
    EXPECT_FALSE(MidiOutIsOpen());
    EXPECT_EQ(PeriodsEnded(), std::vector<uint32_t>{5});
    EXPECT_EQ(CommandsShownLog(), (std::vector<CommandsShown>{CommandsPlaying, CommandsIdle}));
    EXPECT_EQ(PendingTimerCount(), 0);
}

TEST_F(PlaybackTest, PlayRightAfterStopStartsFromTheTop)
{
    AddVoice(3, 7, {{60, 384}, {62, 384}});
    ASSERT_TRUE(StartPlayback());
    ASSERT_TRUE(FirePendingTimer());
    ASSERT_TRUE(FirePendingTimer());
    FakeTimer old = StartedTimers().back();
    StopPlayback();
    ASSERT_TRUE(StartPlayback());
    FireTimerAnyway(old);  // the old playback's timer must not drive the new one
    EXPECT_EQ(MidiOutOpens(), 2);
    EXPECT_TRUE(MidiOutIsOpen());
    EXPECT_EQ(StartedTimers().size(), 4u);

    size_t before = MidiSentMessages().size();
    ASSERT_TRUE(FirePendingTimer());
    std::vector<uint32_t> sent = MidiSentMessages();
    ASSERT_EQ(sent.size(), before + 2);
    EXPECT_EQ(sent[before], Program(3, 7));
    EXPECT_EQ(sent[before + 1], NoteOn(3, 60, 96));
    PlayToTheEnd();
    EXPECT_EQ(PeriodsBegun().size(), 2u);
    EXPECT_EQ(PeriodsEnded().size(), 2u);
    EXPECT_EQ(CommandsShownLog().back(), CommandsIdle);
    ExpectCleanOutput(MidiOutLog());
}

TEST_F(PlaybackTest, PlayWhilePlayingEndsTheOldPlaybackFirst)
{
    AddVoice(0, 0, {{60, 1536}});
    ASSERT_TRUE(StartPlayback());
    ASSERT_TRUE(FirePendingTimer());
    FailMidiOpen(69);
    EXPECT_FALSE(StartPlayback());
    EXPECT_EQ(ReportedErrors.size(), 1u);
    EXPECT_FALSE(MidiOutIsOpen());
    EXPECT_EQ(PendingTimerCount(), 0);
    EXPECT_EQ(PeriodsEnded().size(), 1u);
    EXPECT_EQ(CommandsShownLog().back(), CommandsIdle);
    ExpectCleanOutput(MidiOutLog());
}

TEST_F(PlaybackTest, EndingForExitStopsWithoutTouchingTheCommands)
{
    AddVoice(0, 0, {{60, 1536}});
    ASSERT_TRUE(StartPlayback());
    ASSERT_TRUE(FirePendingTimer());
    EndPlaybackForExit();
    EXPECT_FALSE(MidiOutIsOpen());
    EXPECT_EQ(PendingTimerCount(), 0);
    EXPECT_EQ(CommandsShownLog(), std::vector<CommandsShown>{CommandsPlaying});
    ExpectCleanOutput(MidiOutLog());
    EndPlaybackForExit();  // nothing playing: nothing happens
    EXPECT_EQ(MidiOutCloses(), 1);
}

// The end of a piece shows the idle commands after the playback lock is
// released; a Play that slips in before they are shown must not be left
// looking idle. Starting a playback from inside the call also proves that no
// lock is held there.
TEST_F(PlaybackTest, APlayBetweenTheEndAndItsIdleCommandsIsShownPlaying)
{
    AddVoice(0, 0, {{60, 384}});
    ASSERT_TRUE(StartPlayback());
    ASSERT_TRUE(FirePendingTimer());
    RunOnNextCommandShown([] { EXPECT_TRUE(StartPlayback()); });
    ASSERT_TRUE(FirePendingTimer());
    EXPECT_TRUE(MidiOutIsOpen());
    EXPECT_EQ(CommandsShownLog(),
              (std::vector<CommandsShown>{CommandsPlaying, CommandsPlaying, CommandsIdle, CommandsPlaying}));
}

// The Forms dialog plays a form on the same output and timers: its Play
// ends the piece first, and closing the dialog ends a form that sounds, with
// nothing left sounding, but never the piece.
TEST_F(PlaybackTest, AFormEndsThePieceFirstAndClosingFormsEndsOnlyAForm)
{
    const int32_t row[12] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11};
    BuildToneMatrix(row, ToneMatrix);
    for (auto& line : DurationMatrix)
        for (int32_t& ticks : line) ticks = 1536;
    for (auto& line : VelocityMatrix)
        for (int32_t& velocity : line) velocity = 80;
    AddVoice(0, 0, {{60, 1536}});
    VoiceTracks[0].Program = 19;
    VoiceTracks[0].Octave = 4;
    ASSERT_TRUE(StartPlayback());
    ASSERT_TRUE(FirePendingTimer());
    EXPECT_FALSE(StopFormPlayback());
    EXPECT_TRUE(MidiOutIsOpen());

    ASSERT_TRUE(StartFormPlayback(0, 24));  // 11 10 .. 0
    EXPECT_EQ(MidiOutOpens(), 2);
    ASSERT_TRUE(FirePendingTimer());
    EXPECT_EQ(MidiSentMessages(), (std::vector<uint32_t>{Program(0, 0), NoteOn(0, 60, 96), NoteOn(0, 60, 0),
                                                          Program(0, 19), NoteOn(0, 59, 80)}));
    EXPECT_TRUE(StopFormPlayback());
    EXPECT_FALSE(MidiOutIsOpen());
    EXPECT_EQ(PendingTimerCount(), 0);
    EXPECT_EQ(Delays(), (std::vector<uint32_t>{1000, 4000, 1000, 4000}));
    EXPECT_EQ(CommandsShownLog(), (std::vector<CommandsShown>{CommandsPlaying, CommandsPlaying, CommandsIdle}));
    ExpectCleanOutput(MidiOutLog());
    EXPECT_TRUE(ReportedErrors.empty());
}

// A thread fires the timers as the system's timer thread would, while Play
// and Stop come from this thread at random moments; some pieces reach their
// end on the timer thread just as Stop arrives.
TEST_F(PlaybackTest, PlayAndStopRaceTheTimerThread)
{
    WriteTempoIndex(Tempo200);
    AddVoice(0, 0, {{60, 24}, {61, 16}, {62, 24}, {63, 96}});
    AddVoice(1, 0, {{70, 36}, {71, 24}, {72, 16}});
    RunTimersOnThread(0.02);  // the first second passes in 20 ms
    std::mt19937 draw(TestSeed());
    for (int cycle = 0; cycle < 150; ++cycle) {
        ASSERT_TRUE(StartPlayback());
        std::this_thread::sleep_for(std::chrono::microseconds(draw() % 30000));
        StopPlayback();
        size_t logged = MidiOutLog().size();
        ASSERT_FALSE(MidiOutIsOpen());
        if (cycle % 10 == 0) {
            std::this_thread::sleep_for(std::chrono::milliseconds(25));
            ASSERT_EQ(MidiOutLog().size(), logged) << "sent after Stop in cycle " << cycle;
        }
    }
    StopTimerThread();
    // Both kinds of cycle must have happened: stopped before the first Event
    // and stopped (or ended) after some were sent.
    int silentCycles = 0, soundingCycles = 0, sends = 0;
    for (const MidiOutEntry& e : MidiOutLog()) {
        if (e.Action == MidiSent) ++sends;
        if (e.Action == MidiClosed) {
            (sends ? soundingCycles : silentCycles)++;
            sends = 0;
        }
    }
    std::printf("%d cycles stopped before the first Event, %d after\n", silentCycles, soundingCycles);
    EXPECT_GT(silentCycles, 10);
    EXPECT_GT(soundingCycles, 10);
    EXPECT_EQ(MidiOutOpens(), 150);
    EXPECT_EQ(MidiOutCloses(), 150);
    EXPECT_EQ(PeriodsBegun().size(), PeriodsEnded().size());
    EXPECT_EQ(CommandsShownLog().back(), CommandsIdle);
    ExpectCleanOutput(MidiOutLog());
    EXPECT_TRUE(ReportedErrors.empty());
}
