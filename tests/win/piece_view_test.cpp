// The piece view of the real main window, checked against the piece as the
// saved MIDI file holds it (read back here, not by the program's code) and
// against the messages that playback sent.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <tuple>
#include <vector>

#include "app/main_window_win32.h"
#include "app/piece_view_win32.h"
#include "midi/save_win32.h"
#include "resources/resource.h"
#include "settings/settings.h"
#include "tests/win/support/dialog_user.h"
#include "tests/win/support/main_window_user.h"
#include "tests/win/support/files.h"
#include "tests/win/support/recording_midi_out.h"

namespace {

// (channel, start, length, key, silent) of every note, and the tick of every
// channel message, from a Standard MIDI File.
using FileNote = std::tuple<int, int, int, int, bool>;

struct ReadBack {
    std::vector<FileNote> Notes;
    std::vector<int> MessageTicks;
};

uint32_t Number(const Bytes& b, size_t at)  // four bytes, high first
{
    return (uint32_t)b.at(at) << 24 | b.at(at + 1) << 16 | b.at(at + 2) << 8 | b.at(at + 3);
}

uint32_t VariableLength(const Bytes& b, size_t* at)
{
    uint32_t n = 0;
    for (bool more = true; more; more = b.at((*at)++) & 0x80) n = n << 7 | (b.at(*at) & 0x7F);
    return n;
}

// A note opens at its first message and closes at the next one of its key;
// it is silent when it opened with velocity 0.
void ReadTrack(const Bytes& b, size_t at, size_t end, ReadBack* out)
{
    int tick = 0, status = 0;
    std::vector<std::pair<int, int>> open(128, {-1, 0});
    while (at < end) {
        tick += (int)VariableLength(b, &at);
        if (b.at(at) & 0x80) status = b.at(at++);
        if (status == 0xFF) {
            ++at;
            at += VariableLength(b, &at);
            continue;
        }
        const int kind = status & 0xF0, channel = status & 15;
        const int first = b.at(at), second = kind == 0xC0 || kind == 0xD0 ? 0 : b.at(at + 1);
        at += kind == 0xC0 || kind == 0xD0 ? 1 : 2;
        out->MessageTicks.push_back(tick);
        if (kind != 0x90 && kind != 0x80) continue;
        auto& note = open[first];
        if (note.first < 0) {
            note = {tick, kind == 0x90 ? second : 0};
            continue;
        }
        out->Notes.emplace_back(channel, note.first, tick - note.first, first, note.second == 0);
        note = {-1, 0};
    }
}

ReadBack ReadMidiFile(const std::string& path)
{
    Bytes b = ReadFile(path);
    ReadBack out;
    size_t at = 8 + Number(b, 4);
    while (at + 8 <= b.size()) {
        size_t length = Number(b, at + 4);
        ReadTrack(b, at + 8, at + 8 + length, &out);
        at += 8 + length;
    }
    std::sort(out.Notes.begin(), out.Notes.end());
    std::sort(out.MessageTicks.begin(), out.MessageTicks.end());
    return out;
}

std::vector<FileNote> ViewNotes()
{
    std::vector<FileNote> notes;
    for (int i = 0; i < Piece.NoteCount; ++i) {
        const ViewNote& n = Piece.Notes[i];
        notes.emplace_back(n.Voice, n.Start, n.Length, n.Key, n.Silent);
    }
    std::sort(notes.begin(), notes.end());
    return notes;
}

int DurationCode(int ticks)
{
    for (int code = 0; code < DurationCodeCount; ++code)
        if (DurationTable[code].Ticks == ticks) return code;
    return 0;
}

int RecordedSends()
{
    auto log = RecordedMidiLog();
    return (int)std::count_if(log.begin(), log.end(), [](const RecordedMidi& e) { return e.Action == RecordedSend; });
}

class PieceViewTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetRecordingMidiOut();
        window_ = OpenMainWindow();
        ASSERT_NE(window_, nullptr);
        // Two voices in other octaves and rhythms, the first with a silent slot.
        Settings.VoiceActive[2] = 1;
        Settings.VoiceOctave[2] = 3;
        Settings.FormSelection[0][1] = 0;
        Settings.FormSelection[2][2] = 1;
        for (int i = 0; i < RowLength; ++i) Settings.DurationRow[i] = DurationCode(i % 3 ? 96 : 192);
        WriteTempoIndex(TempoCount - 1);
        path_ = std::string(getenv("TEMP") ? getenv("TEMP") : ".") + "\\varnolt-piece-view.mid";
        std::strcpy(SongFileName, path_.c_str());
        HasSongFileName = 1;
    }
    void TearDown() override
    {
        CloseMainWindow(window_);
        DeleteFileA(path_.c_str());
        HasSongFileName = 0;
        SongFileName[0] = 0;
    }
    void Command(int id) { SendMessageA(window_, WM_COMMAND, id, 0); }

    HWND window_ = nullptr;
    std::string path_;
};

}  // namespace

// Nothing composed: no view. After Compose the view shows each note of the
// saved file, silent ones as such, and names the piece for a screen reader.
TEST_F(PieceViewTest, ShowsTheNotesWhereTheSavedFilePutsThem)
{
    EXPECT_FALSE(IsWindowVisible(PieceView));
    Command(IDM_COMPOSE);
    Command(IDM_SAVE);
    ReadBack file = ReadMidiFile(path_);
    ASSERT_FALSE(file.Notes.empty());
    EXPECT_EQ(ViewNotes(), file.Notes);
    EXPECT_TRUE(std::any_of(file.Notes.begin(), file.Notes.end(), [](const FileNote& n) { return std::get<4>(n); }));
    EXPECT_TRUE(IsWindowVisible(PieceView));
    char name[SummarySize] = "";
    GetWindowTextA(PieceView, name, sizeof name);
    EXPECT_EQ(std::string(name).rfind("Piece: 2 voices, 3 slots each, ", 0), 0u) << name;

    // A new Compose on other settings shows the new piece.
    Settings.VoiceActive[2] = 0;
    Command(IDM_COMPOSE);
    Command(IDM_SAVE);
    EXPECT_EQ(ViewNotes(), ReadMidiFile(path_).Notes);
}

// While the piece plays, the cursor lies between the tick of the last
// message sent and that of the next, and reaches the end with the music.
TEST_F(PieceViewTest, CursorAdvancesWithTheMessagesSent)
{
    Command(IDM_COMPOSE);
    Command(IDM_SAVE);
    const std::vector<int> ticks = ReadMidiFile(path_).MessageTicks;
    Command(IDM_PLAY);
    ASSERT_TRUE(PumpUntil([] { return RecordedSends() > 0; }, 3000));
    std::vector<double> seen;
    while (RecordingMidiOutOpen()) {
        const int before = RecordedSends();
        Pump(80);  // the view's 33 ms timer moves the cursor at least once
        const double cursor = PieceViewCursor();
        const int after = RecordedSends();
        if (after >= (int)ticks.size()) break;
        ASSERT_GE(cursor, ticks[before - 1]) << before << " messages sent";
        ASSERT_LE(cursor, ticks[after]) << after << " messages sent";
        seen.push_back(cursor);
    }
    EXPECT_GT(seen.size(), 10u);
    EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));
    EXPECT_GT(seen.back(), seen.front());
    EXPECT_TRUE(PumpUntil([&] { return PieceViewCursor() == ticks.back(); }, 2000)) << PieceViewCursor();
}
