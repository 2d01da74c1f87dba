#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "app/app_win32.h"
#include "dialogs/dialogs_win32.h"
#include "engine/compose.h"
#include "engine/random.h"
#include "events/events.h"
#include "midi/playback.h"
#include "midi/save_win32.h"
#include "resources/resource.h"
#include "settings/settings.h"
#include "tests/win/support/dialog_user.h"
#include "tests/win/support/files.h"
#include "tests/win/support/recording_midi_out.h"
#include "tests/win/support/template_dialog.h"

namespace {

class TempoDialog : public TemplateDialogTest {
protected:
    TempoDialog() : TemplateDialogTest(IDD_MIDI, TempoDialogProc) {}
    HWND List() { return GetDlgItem(dialog_, IDC_TEMPO_LIST); }
    LRESULT Selected() { return SendMessageA(List(), LB_GETCURSEL, 0, 0); }
    void Choose(const char* label)
    {
        const LRESULT position = SendMessageA(List(), LB_FINDSTRINGEXACT, (WPARAM)-1, (LPARAM)label);
        ASSERT_GE(position, 0) << label;
        SendMessageA(List(), LB_SETCURSEL, (WPARAM)position, 0);
    }
};

TEST_F(TempoDialog, ListsEveryTempoInTableOrderWithTheDefaultSelected)
{
    ASSERT_NE(Open(), nullptr);
    ASSERT_EQ(SendMessageA(List(), LB_GETCOUNT, 0, 0), TempoCount);
    for (int i = 0; i < TempoCount; ++i) EXPECT_EQ(ListText(List(), i), TempoLabels[i]) << i;
    EXPECT_EQ(Selected(), 5);
    EXPECT_EQ(ListText(List(), (int)Selected()), "60");
}

TEST_F(TempoDialog, OkStoresTheChosenPositionAndTheNextOpeningShowsIt)
{
    ASSERT_NE(Open(), nullptr);
    Choose("120");
    Command(IDOK);
    EXPECT_EQ(ReadTempoIndex(), 8);
    ASSERT_NE(Open(), nullptr);
    EXPECT_EQ(Selected(), 8);
}

// Through the real modal loop: only OK writes, whatever else closes the dialog.
TEST_F(TempoDialog, CancelEscapeAndTheCloseBoxKeepTheIndex)
{
    AppInstance = GetModuleHandleA(nullptr);
    WriteTempoIndex(3);
    const struct {
        const char* name;
        UINT message;
        WPARAM wParam;
        int expected;
    } ways[] = {
        {"Cancel", WM_COMMAND, IDCANCEL, 3},
        {"Escape", WM_KEYDOWN, VK_ESCAPE, 3},
        {"close box", WM_SYSCOMMAND, SC_CLOSE, 3},
        {"OK", WM_COMMAND, IDOK, 11},
    };
    for (const auto& way : ways) {
        DialogUser user("MIDI", [&way](HWND dialog) {
            SendMessageA(GetDlgItem(dialog, IDC_TEMPO_LIST), LB_SETCURSEL, 11, 0);
            PostMessageA(dialog, way.message, way.wParam, 0);
        });
        ShowTempoDialog(nullptr);
        EXPECT_TRUE(user.Seen()) << way.name;
        EXPECT_FALSE(DialogShowing("MIDI")) << way.name;
        EXPECT_EQ(ReadTempoIndex(), way.expected) << way.name;
    }
}

// The conductor track's tempo: FF 51 03 and three bytes of microseconds a quarter.
std::vector<uint8_t> TempoBytes(const std::vector<uint8_t>& file)
{
    for (size_t i = 0; i + 6 <= file.size(); ++i)
        if (file[i] == 0xFF && file[i + 1] == 0x51 && file[i + 2] == 0x03)
            return std::vector<uint8_t>(file.begin() + (long)i + 3, file.begin() + (long)i + 6);
    return {};
}

// The tempo is read when the file is written: the piece composed before the
// dialog is saved again at the new tempo, and nothing else in it changes.
TEST_F(TempoDialog, ChosenTempoGoesIntoTheNextSaveWithoutANewCompose)
{
    char folder[MAX_PATH] = "";
    GetTempPathA(sizeof folder, folder);
    const std::string name = std::string(folder) + "varnolt_tempo_dialog_" + std::to_string(GetCurrentProcessId()) + ".mid";
    DrawRandomPool();
    Compose();
    std::snprintf(SongFileName, sizeof SongFileName, "%s", name.c_str());
    HasSongFileName = 1;
    SaveSong(nullptr);
    const std::vector<uint8_t> before = ReadFile(name);
    EXPECT_EQ(TempoBytes(before), (std::vector<uint8_t>{0x0F, 0x42, 0x40}));

    ASSERT_NE(Open(), nullptr);
    Choose("120");
    Command(IDOK);
    SaveSong(nullptr);
    std::vector<uint8_t> after = ReadFile(name);
    DeleteFileA(name.c_str());
    HasSongFileName = 0;
    SongFileName[0] = 0;

    EXPECT_EQ(TempoBytes(after), (std::vector<uint8_t>{0x07, 0xA1, 0x20}));
    ASSERT_EQ(after.size(), before.size());
    for (size_t i = 0; i + 6 <= after.size(); ++i)
        if (after[i] == 0xFF && after[i + 1] == 0x51) {
            for (size_t j = i + 3; j < i + 6; ++j) after[j] = before[j];
            break;
        }
    EXPECT_TRUE(after == before) << "only the tempo may differ";
}

// One voice of 24 short notes, each 96 ticks: 75 ms apart at 200 beats a
// minute, 150 ms at 100.
void EvenPiece()
{
    ClearVoiceLists();
    for (VoiceTrack& track : VoiceTracks) track.Active = 0;
    VoiceTracks[0].Active = 1;
    AppendProgramChange(&VoiceTracks[0].Events, 0, 0);
    for (int n = 0; n < 24; ++n) {
        AppendNoteMessage(&VoiceTracks[0].Events, 0, 0, 60 + n % 12, 90);
        AppendNoteMessage(&VoiceTracks[0].Events, 96, 0, 60 + n % 12, 0);
    }
}

// Times in ms of the timer events that sent something, from the recording
// output: sends less than 5 ms apart belong to the same event.
std::vector<double> EventTimes()
{
    std::vector<double> times;
    const double perMs = (double)RecordedTicksPerSecond() / 1000.0;
    for (const RecordedMidi& entry : RecordedMidiLog()) {
        if (entry.Action != RecordedSend) continue;
        const double ms = (double)entry.Time / perMs;
        if (times.empty() || ms - times.back() > 5) times.push_back(ms);
    }
    return times;
}

TEST_F(TempoDialog, ATempoChosenDuringPlaybackPacesTheRestOfThePiece)
{
    EvenPiece();
    WriteTempoIndex(11);  // 200
    ResetRecordingMidiOut();
    ASSERT_TRUE(StartPlayback());
    // The first second passes before the first note, then six notes at 200.
    Sleep(1000 + 6 * 75 + 30);
    ASSERT_NE(Open(), nullptr);
    Choose("100");
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    Command(IDOK);
    const double changedAt = (double)now.QuadPart * 1000.0 / (double)RecordedTicksPerSecond();
    Sleep(6 * 150 + 50);
    QueryPerformanceCounter(&now);
    const double stoppedAt = (double)now.QuadPart * 1000.0 / (double)RecordedTicksPerSecond();
    StopPlayback();  // ends the sounding note at once: not a paced event
    EndPlaybackForExit();

    const std::vector<double> times = EventTimes();
    int before = 0, after = 0;
    for (size_t i = 0; i + 1 < times.size(); ++i) {
        const double gap = times[i + 1] - times[i];
        if (times[i + 1] > stoppedAt) break;
        if (times[i + 1] < changedAt) {
            EXPECT_NEAR(gap, 75, 25) << "gap " << i << " before the change";
            ++before;
        } else if (times[i] > changedAt) {
            EXPECT_NEAR(gap, 150, 25) << "gap " << i << " after the change";
            ++after;
        }
    }
    EXPECT_GE(before, 4);
    EXPECT_GE(after, 4);
}

}  // namespace
