#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <vector>

#include "engine/compose.h"
#include "engine/matrices.h"
#include "engine/random.h"
#include "midi/form_list.h"
#include "tests/unit/fakes/fakes.h"

namespace {

struct Note {
    int key, velocity, duration;
};

// Reads a voice list back as program, then slots of twelve notes, checking
// the shape of every start/end pair on the way.
std::vector<std::vector<Note>> ReadSlots(int v, int* program)
{
    EventList* list = &VoiceTracks[v].Events;
    Event* e = FirstEvent(list);
    EXPECT_FALSE(IsEnd(list, e));
    EXPECT_EQ(e->Kind, ProgramChange);
    EXPECT_EQ(e->Channel, v);
    EXPECT_EQ(e->Delta, 0);
    *program = e->Data[0];
    std::vector<std::vector<Note>> slots;
    std::vector<Note> slot;
    for (e = e->Next; !IsEnd(list, e); e = e->Next->Next) {
        Event* end = e->Next;
        EXPECT_FALSE(IsEnd(list, end));
        EXPECT_EQ(e->Kind, NoteMessage);
        EXPECT_EQ(e->Delta, 0);
        EXPECT_EQ(end->Data[0], e->Data[0]);
        EXPECT_EQ(end->Data[1], 0);
        EXPECT_EQ(e->Channel, v);
        EXPECT_EQ(end->Channel, v);
        slot.push_back({e->Data[0], e->Data[1], end->Delta});
        if (slot.size() == 12) {
            slots.push_back(slot);
            slot.clear();
        }
    }
    EXPECT_TRUE(slot.empty());
    return slots;
}

// Which of the 48 forms of the row (built independently of the engine) these
// twelve pitch classes are; -1 when none.
std::set<std::vector<int>> FormsOf(const int32_t* r)
{
    std::set<std::vector<int>> forms;
    for (int t = 0; t < 12; ++t) {
        std::vector<int> p(12), i(12);
        for (int k = 0; k < 12; ++k) {
            p[k] = (r[k] + t) % 12;
            i[k] = ((r[0] - (r[k] - r[0])) % 12 + 24 + t) % 12;
        }
        forms.insert(p);
        forms.insert(i);
        std::reverse(p.begin(), p.end());
        std::reverse(i.begin(), i.end());
        forms.insert(p);
        forms.insert(i);
    }
    return forms;
}

class ComposeTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetFakes();
        ResetSettings();
        DrawRandomPool();
    }
};

}  // namespace

TEST_F(ComposeTest, DefaultSettingsGiveTwoSoundingSlotsOfQuarterNotes)
{
    Compose();
    EXPECT_EQ(SlotCount, 2);
    EXPECT_EQ(SongHeader.TrackCount, 2);
    EXPECT_EQ(CountEvents(&VoiceTracks[0].Events), 49);
    int program = -1;
    auto slots = ReadSlots(0, &program);
    EXPECT_EQ(program, 0);
    ASSERT_EQ(slots.size(), 2u);
    const int32_t row[12] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11};
    auto forms = FormsOf(row);
    for (auto& slot : slots) {
        std::vector<int> pcs;
        for (auto& n : slot) {
            EXPECT_EQ(n.velocity, 96);
            EXPECT_EQ(n.duration, 384);
            EXPECT_GE(n.key, 60);
            EXPECT_LE(n.key, 71);
            pcs.push_back(n.key - 60);
        }
        EXPECT_TRUE(forms.count(pcs));
    }
    for (int v = 1; v < 16; ++v) {
        EXPECT_EQ(VoiceTracks[v].Active, 0);
        EXPECT_EQ(CountEvents(&VoiceTracks[v].Events), 0);
    }
    EXPECT_TRUE(ReportedErrors.empty());
}

TEST_F(ComposeTest, SlotCountComesFromActiveVoicesAndFlagPositionsDecideSilence)
{
    Settings.VoiceActive[1] = 1;
    Settings.FormSelection[1][5] = 1;
    Settings.FormSelection[7][40] = 1;  // inactive voice: does not count
    Settings.VoiceInstrument[1] = 300;  // only its low byte is sent
    Compose();
    EXPECT_EQ(SlotCount, 6);
    EXPECT_EQ(SongHeader.TrackCount, 3);
    for (int v = 0; v < 2; ++v) {
        EXPECT_EQ(CountEvents(&VoiceTracks[v].Events), 1 + 6 * 24);
        int program;
        auto slots = ReadSlots(v, &program);
        if (v == 1) {
            EXPECT_EQ(program, 300 & 0xFF);
        }
        ASSERT_EQ(slots.size(), 6u);
        for (int k = 0; k < 6; ++k) {
            bool sounds = v == 0 ? k < 2 : k == 5;
            for (auto& n : slots[k]) {
                EXPECT_EQ(n.velocity, sounds ? 96 : 0) << "voice " << v << " slot " << k;
                EXPECT_EQ(n.duration, 384);
            }
        }
    }
}

TEST_F(ComposeTest, VoicesWithoutFlagsOrNoVoicesAtAll)
{
    Settings.FormSelection[0][0] = Settings.FormSelection[0][1] = 0;
    Settings.VoiceActive[3] = 1;
    Compose();
    EXPECT_EQ(SlotCount, 0);
    EXPECT_EQ(SongHeader.TrackCount, 3);
    EXPECT_EQ(CountEvents(&VoiceTracks[0].Events), 1);
    EXPECT_EQ(CountEvents(&VoiceTracks[3].Events), 1);
    EXPECT_EQ(SeedPosition, 22 + 2);

    Settings.VoiceActive[0] = Settings.VoiceActive[3] = 0;
    int before = SeedPosition;
    Compose();
    EXPECT_EQ(SeedPosition - before, 22);
    EXPECT_EQ(SongHeader.TrackCount, 1);
    for (int v = 0; v < 16; ++v) EXPECT_EQ(CountEvents(&VoiceTracks[v].Events), 0);
}

TEST_F(ComposeTest, OctaveExtremes)
{
    Settings.ToneRow[0] = 11;
    Settings.ToneRow[11] = 0;
    Settings.VoiceOctave[0] = 8;
    Settings.VoiceActive[1] = 1;
    Settings.VoiceOctave[1] = 0;
    for (int f = 0; f < 48; ++f) Settings.FormSelection[0][f] = Settings.FormSelection[1][f] = 1;
    Compose();
    int program, top = 0, bottom = 200;
    for (auto& slot : ReadSlots(0, &program))
        for (auto& n : slot) top = std::max(top, n.key);
    for (auto& slot : ReadSlots(1, &program))
        for (auto& n : slot) bottom = std::min(bottom, n.key);
    EXPECT_EQ(top, 107);
    EXPECT_EQ(bottom, 0);
}

TEST_F(ComposeTest, SilentSlotKeepsItsFormsDurations)
{
    const int32_t codes[12] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 11, 12, 15};
    for (int i = 0; i < 12; ++i) Settings.DurationRow[i] = codes[i];
    Settings.FormSelection[0][1] = 0;
    Settings.FormSelection[0][2] = 1;
    Compose();
    int program;
    auto slots = ReadSlots(0, &program);
    ASSERT_EQ(slots.size(), 3u);
    std::multiset<int> userTicks;
    for (int c : codes) userTicks.insert(TicksOfDuration(c));
    for (int k = 0; k < 3; ++k) {
        int total = 0;
        for (auto& n : slots[k]) {
            EXPECT_EQ(n.velocity, k == 1 ? 0 : 96);
            EXPECT_GT(n.duration, 0);
            total += n.duration;
        }
        EXPECT_GT(total, 12 * 16);
    }
    // the slot's durations are read from the DurationMatrix by the same form
    // as its tones: a prime or retrograde reorders the user's row exactly
    for (auto& slot : slots) {
        std::multiset<int> d;
        for (auto& n : slot) d.insert(n.duration);
        for (int t : d) EXPECT_TRUE(userTicks.count(t));
    }
}

TEST_F(ComposeTest, EverySlotIsAFormAndNoFormRepeatsWithinAVoice)
{
    const int32_t row[12] = {7, 3, 11, 0, 5, 2, 9, 1, 10, 4, 8, 6};
    for (int i = 0; i < 12; ++i) Settings.ToneRow[i] = row[i];
    for (int v = 0; v < 16; ++v) {
        Settings.VoiceActive[v] = 1;
        Settings.VoiceOctave[v] = v % 9;
        for (int f = 0; f < 48; ++f) Settings.FormSelection[v][f] = 1;
    }
    Compose();
    EXPECT_EQ(SlotCount, 48);
    EXPECT_EQ(SongHeader.TrackCount, 17);
    auto forms = FormsOf(row);
    ASSERT_EQ(forms.size(), 48u);
    for (int v = 0; v < 16; ++v) {
        int program;
        auto slots = ReadSlots(v, &program);
        ASSERT_EQ(slots.size(), 48u);
        std::set<std::vector<int>> seen;
        for (auto& slot : slots) {
            std::vector<int> pcs;
            for (auto& n : slot) pcs.push_back(n.key - 12 * (v % 9));
            EXPECT_TRUE(forms.count(pcs)) << "voice " << v;
            seen.insert(pcs);
        }
        EXPECT_EQ(seen.size(), 48u) << "voice " << v << " repeated a form";
    }
}

// A form chosen alone is the voice's own: for each of the 48 forms, in a
// voice that sounds them all and in one that keeps all slots but the last
// silent, the notes of the slot that plays it, sounding in both.
TEST_F(ComposeTest, AFormChosenAloneIsTheOneItsVoicePlaysAndSoundsWhereItsSlotIsSilent)
{
    const int32_t codes[12] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 11, 12, 15};
    for (int i = 0; i < 12; ++i) {
        Settings.ToneRow[i] = 7 * i % 12;
        Settings.DurationRow[i] = codes[i];
        Settings.VelocityRow[i] = 10 * i + 1;
    }
    Settings.VoiceActive[2] = 1;
    Settings.VoiceOctave[2] = 3;
    for (int f = 0; f < 48; ++f) Settings.FormSelection[0][f] = 1;
    Settings.FormSelection[2][47] = 1;
    Compose();
    int program;
    std::map<int, std::vector<Note>> sounding, silent;  // by FormIndex
    auto slots = ReadSlots(0, &program);
    for (int k = 0; k < 48; ++k) sounding[VoiceTracks[0].FormOrder[k]] = slots[k];
    slots = ReadSlots(2, &program);
    for (int k = 0; k < 48; ++k) silent[VoiceTracks[2].FormOrder[k]] = slots[k];
    FormNote notes[12];
    for (int f = 0; f < 48; ++f)
        for (int v : {0, 2}) {
            ASSERT_TRUE(ChooseFormNotes(v, f, notes));
            for (int n = 0; n < 12; ++n) {
                const Note& played = (v == 0 ? sounding : silent)[f][n];
                EXPECT_EQ(notes[n].Key, played.key) << "voice " << v << " form " << f;
                EXPECT_EQ(notes[n].Ticks, played.duration) << "voice " << v << " form " << f;
                EXPECT_EQ(notes[n].Velocity, sounding[f][n].velocity) << "voice " << v << " form " << f;
            }
        }
    EXPECT_FALSE(ChooseFormNotes(1, 0, notes));  // voice 2 took no part
    EXPECT_FALSE(ChooseFormNotes(0, 48, notes));
}

// Voice 16 too: a second Compose replaces every voice's notes.
TEST_F(ComposeTest, SecondComposeUsesTheNextSeedsAndKeepsCounts)
{
    Settings.VoiceActive[15] = 1;
    Settings.FormSelection[15][3] = 1;
    Compose();
    EXPECT_EQ(SeedPosition, 22 + 2);
    std::vector<int> firstKeys;
    for (Event* e = FirstEvent(&VoiceTracks[0].Events); !IsEnd(&VoiceTracks[0].Events, e); e = e->Next)
        firstKeys.push_back(e->Data[0]);
    long freedBefore = EventsFreed;
    Compose();
    EXPECT_EQ(SeedPosition, 2 * (22 + 2));
    EXPECT_EQ(EventsFreed - freedBefore, 2 * (1 + 4 * 24));
    EXPECT_EQ(CountEvents(&VoiceTracks[0].Events), 1 + 4 * 24);
    EXPECT_EQ(CountEvents(&VoiceTracks[15].Events), 1 + 4 * 24);
    EXPECT_EQ(SongHeader.TrackCount, 3);
    EXPECT_EQ(SongHeader.TicksPerQuarter, 384);
    EXPECT_EQ(SongHeader.Tempo, 60);
}

TEST_F(ComposeTest, ThePoolRunsOutWithoutEndingTheProgram)
{
    for (int i = 0; i < 60; ++i) Compose();  // 60 x 23 seeds: the pool refills
    EXPECT_GE(PoolsDrawn, 2);
    EXPECT_EQ(CountEvents(&VoiceTracks[0].Events), 49);
}

TEST_F(ComposeTest, EventsThatCannotBeAllocatedAreLeftOut)
{
    Compose();
    EventAllocationsLeft = 10;
    Compose();
    EXPECT_EQ(CountEvents(&VoiceTracks[0].Events), 10);
    EventAllocationsLeft = -1;
    Compose();
    EXPECT_EQ(CountEvents(&VoiceTracks[0].Events), 49);
}

TEST(EventList, AppendClearAndEmptyList)
{
    ResetFakes();
    EventList list;
    InitEventList(&list);
    EXPECT_EQ(list.Sentinel.Next, &list.Sentinel);
    EXPECT_EQ(list.Sentinel.Prev, &list.Sentinel);
    Event* p = AppendProgramChange(&list, 9, 127);
    Event* n = AppendNoteMessage(&list, 1536, 9, 35, 0);
    ASSERT_TRUE(p && n);
    EXPECT_EQ(p->Kind, ProgramChange);
    EXPECT_EQ(p->Data[0], 127);
    EXPECT_EQ(p->Data[1], 0);
    EXPECT_EQ(n->Kind, NoteMessage);
    EXPECT_EQ(n->WorkingDelta, 1536);
    EXPECT_EQ(FirstEvent(&list), p);
    EXPECT_EQ(list.Sentinel.Prev, n);
    EXPECT_EQ(n->Prev, p);
    EventAllocationsLeft = 0;
    EXPECT_EQ(AppendNoteMessage(&list, 0, 0, 60, 96), nullptr);
    EXPECT_EQ(CountEvents(&list), 2);
    EXPECT_EQ(list.Sentinel.Prev, n);
    EventAllocationsLeft = -1;
    ClearEventList(&list);
    EXPECT_EQ(list.Sentinel.Next, &list.Sentinel);
    EXPECT_EQ(list.Sentinel.Prev, &list.Sentinel);
    EXPECT_EQ(CountEvents(&list), 0);
}
