#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "engine/compose.h"
#include "engine/random.h"
#include "events/events.h"
#include "midi/merge.h"
#include "tests/unit/fakes/fakes.h"
#include "tests/unit/test_seed.h"

namespace {

struct Copy {
    int Kind, Channel, Key, Velocity, Delta;
    bool operator==(const Copy& o) const
    {
        return Kind == o.Kind && Channel == o.Channel && Key == o.Key && Velocity == o.Velocity && Delta == o.Delta;
    }
};

std::ostream& operator<<(std::ostream& os, const Copy& c)
{
    return os << (c.Kind == ProgramChange ? "program" : "note") << " ch" << c.Channel << " " << c.Key << "/"
              << c.Velocity << " +" << c.Delta;
}

std::vector<Copy> Read(EventList* list)
{
    std::vector<Copy> out;
    for (Event* e = FirstEvent(list); !IsEnd(list, e); e = e->Next)
        out.push_back({e->Kind, e->Channel, e->Data[0], e->Data[1], e->Delta});
    return out;
}

Copy Program(int channel, int program) { return {ProgramChange, channel, program, 0, 0}; }
Copy On(int channel, int key, int delta) { return {NoteMessage, channel, key, 96, delta}; }
Copy Off(int channel, int key, int delta) { return {NoteMessage, channel, key, 0, delta}; }

// Empty voice lists, all voices inactive, an empty PlaybackList.
void FreshSong()
{
    ClearVoiceLists();
    for (VoiceTrack& track : VoiceTracks) track.Active = 0;
    ClearEventList(&PlaybackList);
}

// A voice as Compose writes one: its program change, then each note as a
// start at delta 0 and an end after the note's ticks.
void AddVoice(int v, const std::vector<std::pair<int, int>>& keysAndTicks)
{
    VoiceTracks[v].Active = 1;
    AppendProgramChange(&VoiceTracks[v].Events, v, v + 1);
    for (auto [key, ticks] : keysAndTicks) {
        AppendNoteMessage(&VoiceTracks[v].Events, 0, v, key, 96);
        AppendNoteMessage(&VoiceTracks[v].Events, ticks, v, key, 0);
    }
}

class MergeTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetFakes();
        FreshSong();
    }
};

}  // namespace

TEST_F(MergeTest, OneVoiceIsCopiedUnchanged)
{
    AddVoice(4, {{60, 384}, {61, 16}, {62, 1536}});
    EXPECT_TRUE(MergeVoiceLists());
    EXPECT_EQ(Read(&PlaybackList), Read(&VoiceTracks[4].Events));
}

TEST_F(MergeTest, NoActiveVoiceGivesAnEmptyListAndInactiveVoicesAreLeftOut)
{
    AddVoice(0, {{60, 384}});
    VoiceTracks[0].Active = 0;
    EXPECT_TRUE(MergeVoiceLists());
    EXPECT_EQ(CountEvents(&PlaybackList), 0);

    AddVoice(1, {{50, 192}});
    EXPECT_TRUE(MergeVoiceLists());
    EXPECT_EQ(Read(&PlaybackList), Read(&VoiceTracks[1].Events));
}

TEST_F(MergeTest, QuartersAgainstEighthsInTickOrderLowestVoiceFirst)
{
    AddVoice(0, {{60, 384}, {62, 384}});
    AddVoice(1, {{72, 192}, {74, 192}, {76, 192}, {77, 192}});
    EXPECT_TRUE(MergeVoiceLists());
    std::vector<Copy> expected = {
        Program(0, 1), On(0, 60, 0),  Program(1, 2), On(1, 72, 0),     // tick 0
        Off(1, 72, 192), On(1, 74, 0),                                  // 192
        Off(0, 60, 192), On(0, 62, 0), Off(1, 74, 0), On(1, 76, 0),     // 384
        Off(1, 76, 192), On(1, 77, 0),                                  // 576
        Off(0, 62, 192), Off(1, 77, 0),                                 // 768
    };
    EXPECT_EQ(Read(&PlaybackList), expected);
}

TEST_F(MergeTest, IdenticalRhythmsInterleaveVoiceByVoice)
{
    AddVoice(2, {{40, 96}, {41, 96}});
    AddVoice(9, {{50, 96}, {51, 96}});
    EXPECT_TRUE(MergeVoiceLists());
    std::vector<Copy> expected = {
        Program(2, 3), On(2, 40, 0), Program(9, 10), On(9, 50, 0),
        Off(2, 40, 96), On(2, 41, 0), Off(9, 50, 0), On(9, 51, 0),
        Off(2, 41, 96), Off(9, 51, 0),
    };
    EXPECT_EQ(Read(&PlaybackList), expected);
}

TEST_F(MergeTest, MergingTwiceGivesTheSameListAndKeepsTheVoiceDeltas)
{
    AddVoice(0, {{60, 384}, {62, 128}});
    AddVoice(3, {{70, 36}, {71, 1152}});
    std::vector<Copy> voice0 = Read(&VoiceTracks[0].Events), voice3 = Read(&VoiceTracks[3].Events);
    EXPECT_TRUE(MergeVoiceLists());
    std::vector<Copy> first = Read(&PlaybackList);
    EXPECT_TRUE(MergeVoiceLists());
    EXPECT_EQ(Read(&PlaybackList), first);
    EXPECT_EQ(Read(&VoiceTracks[0].Events), voice0);
    EXPECT_EQ(Read(&VoiceTracks[3].Events), voice3);
    EXPECT_EQ(CountEvents(&PlaybackList), 10);
}

TEST_F(MergeTest, AnEventThatCannotBeAllocatedLeavesTheListEmpty)
{
    AddVoice(0, {{60, 384}, {62, 384}});
    AddVoice(1, {{72, 192}});
    EventAllocationsLeft = 5;
    EXPECT_FALSE(MergeVoiceLists());
    EXPECT_EQ(CountEvents(&PlaybackList), 0);
    EventAllocationsLeft = -1;
    EXPECT_TRUE(MergeVoiceLists());
    EXPECT_EQ(CountEvents(&PlaybackList), 8);
}

// For composed pieces with random voices, durations and flags: every Event of
// every active voice comes once, in its voice's order, at its own tick, with
// the ticks of the merged list never going back and the voices of one tick
// in ascending order.
TEST_F(MergeTest, RandomPiecesKeepEveryEventAtItsTick)
{
    ResetSettings();
    DrawRandomPool();
    std::mt19937 draw(TestSeed(20261207));
    for (int round = 0; round < 25; ++round) {
        for (int v = 0; v < VoiceCount; ++v) {
            Settings.VoiceActive[v] = draw() % 3 == 0;
            Settings.VoiceInstrument[v] = draw() % 128;
            for (int f = 0; f < FormCount; ++f) Settings.FormSelection[v][f] = f < 4 && draw() % 2;
        }
        for (int i = 0; i < RowLength; ++i) Settings.DurationRow[i] = draw() % DurationCodeCount;
        Compose();
        ASSERT_TRUE(MergeVoiceLists());

        Event* cursor[VoiceCount];
        long voiceTick[VoiceCount] = {};
        int total = 0;
        for (int v = 0; v < VoiceCount; ++v) {
            cursor[v] = FirstEvent(&VoiceTracks[v].Events);
            if (VoiceTracks[v].Active) total += CountEvents(&VoiceTracks[v].Events);
        }
        ASSERT_EQ(CountEvents(&PlaybackList), total);
        long tick = 0;
        int lastChannel = -1;
        for (Event* e = FirstEvent(&PlaybackList); !IsEnd(&PlaybackList, e); e = e->Next) {
            ASSERT_GE(e->Delta, 0);
            if (e->Delta > 0) lastChannel = -1;
            tick += e->Delta;
            int v = e->Channel;
            ASSERT_TRUE(VoiceTracks[v].Active);
            ASSERT_GE(v, lastChannel) << "voices of one tick out of order at tick " << tick;
            lastChannel = v;
            Event* own = cursor[v];
            ASSERT_FALSE(IsEnd(&VoiceTracks[v].Events, own));
            voiceTick[v] += own->Delta;
            EXPECT_EQ(tick, voiceTick[v]);
            EXPECT_EQ(e->Kind, own->Kind);
            EXPECT_EQ(e->Data[0], own->Data[0]);
            EXPECT_EQ(e->Data[1], own->Data[1]);
            cursor[v] = own->Next;
        }
    }
}
