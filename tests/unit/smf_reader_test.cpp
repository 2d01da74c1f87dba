// A file written by the writer, read back by an SMF reader the project did
// not write: Debian's python3-mido. Host only: it is a Linux tool.
#ifndef _WIN32
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "engine/compose.h"
#include "engine/random.h"
#include "events/events.h"
#include "midi/smf.h"
#include "settings/settings.h"
#include "tests/unit/fakes/fakes.h"

namespace fs = std::filesystem;

namespace {

const char* const MidoSummary = R"(
import sys, mido
f = mido.MidiFile(sys.argv[1])
print("format", f.type)
print("ticks", f.ticks_per_beat)
print("tracks", len(f.tracks))
for m in f.tracks[0]:
    if m.type == "set_tempo": print("tempo", m.tempo)
    if m.type == "time_signature":
        print("time", m.numerator, m.denominator, m.clocks_per_click, m.notated_32nd_notes_per_beat)
    if m.type == "key_signature": print("key", m.key)
    if m.type == "smpte_offset": print("smpte", m.frame_rate, m.hours, m.minutes, m.seconds)
for t in f.tracks[1:]:
    channels = sorted({m.channel for m in t if not m.is_meta})
    programs = [m.program for m in t if m.type == "program_change"]
    starts = sum(1 for m in t if m.type == "note_on" and m.velocity > 0)
    ends = sum(1 for m in t if m.type == "note_on" and m.velocity == 0)
    others = sum(1 for m in t if not m.is_meta and m.type not in ("note_on", "program_change"))
    print("track", channels, programs, starts, ends, others, sum(m.time for m in t), t[-1].type)
)";

std::string ReadText(const fs::path& p)
{
    std::ifstream in(p);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

class SmfReaderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetFakes();
        ResetSettings();
        // Beside the test program: one folder per build.
        folder_ = fs::current_path() /
                  ("varnolt-reader-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(folder_);
        fs::create_directories(folder_);
        file_ = folder_ / "piece.mid";
    }
    void TearDown() override
    {
        std::error_code ec;
        fs::remove_all(folder_, ec);
    }
    // Four voices, the percussion voice among them, with silent slots and
    // every duration of the table's first twelve codes; saved at 80 bpm.
    void ComposeAndSave()
    {
        for (int v : {0, 4, 9, 12}) {
            Settings.VoiceActive[v] = 1;
            Settings.VoiceInstrument[v] = 20 + v;
            for (int f = 0; f < 9; ++f) Settings.FormSelection[v][f] = (f * 7 + v) % 4 != 0;
        }
        for (int i = 0; i < RowLength; ++i) Settings.DurationRow[i] = i;
        DrawRandomPool();
        Compose();
        WriteTempoIndex(6);
        ASSERT_TRUE(WriteMidiFile(file_.string().c_str()));
    }
    std::string Run(const std::string& command)
    {
        fs::path out = folder_ / "out.txt";
        int rc = std::system((command + " >'" + out.string() + "' 2>&1").c_str());
        std::string text = ReadText(out);
        EXPECT_EQ(rc, 0) << text;
        return text;
    }
    fs::path folder_, file_;
};

struct VoiceSummary {
    int starts = 0, ends = 0, ticks = 0;
};

VoiceSummary Summarise(int v)
{
    VoiceSummary s;
    EventList* list = &VoiceTracks[v].Events;
    for (Event* e = FirstEvent(list); !IsEnd(list, e); e = e->Next) {
        s.ticks += e->Delta;
        if (e->Kind != NoteMessage) continue;
        if (e->Data[1] > 0)
            ++s.starts;
        else
            ++s.ends;
    }
    return s;
}

}  // namespace

TEST_F(SmfReaderTest, MidoReadsTheTracksTempoAndNotesOfTheComposedPiece)
{
    ComposeAndSave();
    std::ofstream(folder_ / "summary.py") << MidoSummary;
    std::string got = Run("/usr/bin/python3 '" + (folder_ / "summary.py").string() + "' '" + file_.string() + "'");

    std::ostringstream want;
    want << "format 1\nticks 384\ntracks 5\n"
         // mido takes the frame rate from bits 7-6 of the hour byte, so 0x40
         // (code 2 in bits 6-5) reads as its code 1, 25 frames.
         << "smpte 25 0 0 0\ntempo 750000\ntime 4 4 24 8\nkey C\n";
    int silentVoices = 0;
    for (int v : {0, 4, 9, 12}) {
        VoiceSummary s = Summarise(v);
        if (s.starts == 0) ++silentVoices;
        // Every note ends, silent slots included: their starts have velocity 0 too.
        EXPECT_EQ(s.ends, 9 * 12 * 2 - s.starts);
        want << "track [" << v << "] [" << 20 + v << "] " << s.starts << " " << s.ends << " 0 " << s.ticks
             << " end_of_track\n";
    }
    EXPECT_EQ(silentVoices, 0);
    EXPECT_EQ(got, want.str());
}
#endif
