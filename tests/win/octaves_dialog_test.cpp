#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <string>
#include <thread>

#include "dialogs/dialogs_win32.h"
#include "resources/resource.h"
#include "settings/settings.h"
#include "tests/win/support/message_box.h"

namespace {

std::string TextOf(HWND window)
{
    char text[64] = "";
    GetWindowTextA(window, text, sizeof text);
    return text;
}

void TypeAtEnd(HWND edit, const char* chars)
{
    for (const char* c = chars; *c; ++c) {
        int length = GetWindowTextLengthA(edit);
        SendMessageA(edit, EM_SETSEL, length, length);
        SendMessageA(edit, WM_CHAR, (WPARAM)(unsigned char)*c, 0);
    }
}

void TypeOver(HWND edit, const char* chars)
{
    SendMessageA(edit, EM_SETSEL, 0, -1);
    SendMessageA(edit, WM_CHAR, (WPARAM)(unsigned char)chars[0], 0);
    TypeAtEnd(edit, chars + 1);
}

RECT PlaceOf(HWND dialog, HWND control)
{
    RECT r;
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, dialog, (POINT*)&r, 2);
    return r;
}

// A place in dialog units as the dialog manager turns it into pixels: the
// corner and the size each on their own.
RECT Units(HWND dialog, int x, int y, int w, int h)
{
    RECT r = {x, y, w, h};
    MapDialogRect(dialog, &r);
    return {r.left, r.top, r.left + r.right, r.top + r.bottom};
}

// Runs the messages already posted, as the close box's Cancel is.
void RunPostedMessages()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

class OctavesDialog : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetSettings();
        Open();
    }
    void TearDown() override
    {
        if (dialog_) DestroyWindow(dialog_);
    }
    void Open()
    {
        if (dialog_) DestroyWindow(dialog_);
        dialog_ = CreateDialogParamA(GetModuleHandle(nullptr), MAKEINTRESOURCE(131), nullptr, OctavesDialogProc, 0);
        ASSERT_NE(dialog_, nullptr);
        ShowWindow(dialog_, SW_SHOW);
    }
    HWND Octave(int i) { return GetDlgItem(dialog_, IDC_OCTAVE_FIRST + i); }
    void Command(int id) { SendMessageA(dialog_, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)GetDlgItem(dialog_, id)); }
    bool Showing() { return IsWindowVisible(dialog_) != FALSE; }
    void ExpectOctaves(int32_t expected)
    {
        for (int i = 0; i < VoiceCount; ++i) EXPECT_EQ(Settings.VoiceOctave[i], expected) << i;
    }
    HWND dialog_ = nullptr;
};

TEST_F(OctavesDialog, OpensWithTheCurrentOctavesAtTheirPlaces)
{
    EXPECT_EQ(TextOf(dialog_), "Octaves");
    for (int i = 0; i < VoiceCount; ++i) EXPECT_EQ(TextOf(Octave(i)), "5") << i;

    for (int i = 0; i < VoiceCount; ++i) Settings.VoiceOctave[i] = i % 9;
    Open();
    RECT client;
    GetClientRect(dialog_, &client);
    RECT whole = Units(dialog_, 0, 0, 158, 180);
    EXPECT_EQ(client.right, whole.right);
    EXPECT_EQ(client.bottom, whole.bottom);
    for (int i = 0; i < VoiceCount; ++i) {
        HWND edit = Octave(i);
        ASSERT_NE(edit, nullptr) << i;
        EXPECT_EQ(TextOf(edit), std::to_string(i % 9));
        RECT want = Units(dialog_, i < 8 ? 32 : 99, 20 + 15 * (i % 8), 18, 12), got = PlaceOf(dialog_, edit);
        EXPECT_TRUE(EqualRect(&want, &got)) << i;
        EXPECT_EQ(GetWindowLongA(edit, GWL_STYLE) & (ES_NUMBER | ES_AUTOHSCROLL | ES_MULTILINE), 0) << i;
        // the voice number, from 1, stands to the left on the same line
        POINT left = {Units(dialog_, i < 8 ? 24 : 88, 0, 0, 0).left, (got.top + got.bottom) / 2};
        HWND label = ChildWindowFromPoint(dialog_, left);
        ASSERT_NE(label, nullptr);
        ASSERT_NE(label, dialog_) << "no label left of voice " << i + 1;
        EXPECT_EQ(TextOf(label), std::to_string(i + 1));
    }
    RECT ok = Units(dialog_, 22, 156, 50, 14), cancel = Units(dialog_, 86, 156, 50, 14);
    RECT okGot = PlaceOf(dialog_, GetDlgItem(dialog_, IDOK)), cancelGot = PlaceOf(dialog_, GetDlgItem(dialog_, IDCANCEL));
    EXPECT_TRUE(EqualRect(&ok, &okGot));
    EXPECT_TRUE(EqualRect(&cancel, &cancelGot));
    EXPECT_EQ(TextOf(GetDlgItem(dialog_, IDCANCEL)), "Cancel");
    EXPECT_EQ(GetWindowLongA(GetDlgItem(dialog_, IDOK), GWL_STYLE) & 0xF, BS_DEFPUSHBUTTON);
}

TEST_F(OctavesDialog, LiveCheckKeepsTheLastAcceptedText)
{
    HWND edit = Octave(3);
    TypeOver(edit, "7");
    EXPECT_EQ(TextOf(edit), "7");
    TypeAtEnd(edit, "x");
    EXPECT_EQ(TextOf(edit), "7");
    TypeOver(edit, "9");
    EXPECT_EQ(TextOf(edit), "7");

    SetWindowTextA(edit, "");
    TypeAtEnd(edit, "9");
    EXPECT_EQ(TextOf(edit), "");
    TypeAtEnd(edit, "0");
    EXPECT_EQ(TextOf(edit), "0");
    TypeAtEnd(edit, "8");
    EXPECT_EQ(TextOf(edit), "08");
    SetWindowTextA(edit, "-1");
    EXPECT_EQ(TextOf(edit), "08");
}

TEST_F(OctavesDialog, OkWritesAllSixteenFromTheirFirstTwoCharacters)
{
    SetWindowTextA(Octave(0), "08");
    SetWindowTextA(Octave(1), "012");
    EXPECT_EQ(TextOf(Octave(1)), "012");
    SetWindowTextA(Octave(2), "0");
    SetWindowTextA(Octave(15), "3");
    Command(IDOK);
    EXPECT_FALSE(Showing());
    EXPECT_EQ(Settings.VoiceOctave[0], 8);
    EXPECT_EQ(Settings.VoiceOctave[1], 1);
    EXPECT_EQ(Settings.VoiceOctave[2], 0);
    EXPECT_EQ(Settings.VoiceOctave[15], 3);
    for (int i = 3; i < 15; ++i) EXPECT_EQ(Settings.VoiceOctave[i], 5) << i;
}

TEST_F(OctavesDialog, AnEmptyFieldIsReportedByItsIndexAndNothingIsWritten)
{
    for (int i = 1; i < VoiceCount; ++i) SetWindowTextA(Octave(i), "2");
    SetWindowTextA(Octave(0), "");
    SetWindowTextA(Octave(15), "");
    {
        MessageBoxWatcher watcher;
        Command(IDOK);
        EXPECT_EQ(watcher.Text(), "ERROR: Invalid octave 0");
    }
    EXPECT_TRUE(Showing());
    ExpectOctaves(5);
    EXPECT_EQ(TextOf(Octave(3)), "2");

    SetWindowTextA(Octave(0), "4");
    {
        MessageBoxWatcher watcher;
        Command(IDOK);
        EXPECT_EQ(watcher.Text(), "ERROR: Invalid octave 15");
    }
    ExpectOctaves(5);
}

TEST_F(OctavesDialog, CancelEscapeAndTheCloseBoxWriteNothing)
{
    for (int way = 0; way < 3; ++way) {
        Open();
        for (int i = 0; i < VoiceCount; ++i) TypeOver(Octave(i), "1");
        if (way == 0) {
            Command(IDCANCEL);
        } else if (way == 1) {
            MSG key = {Octave(0), WM_KEYDOWN, VK_ESCAPE, 0, 0, {0, 0}};
            EXPECT_TRUE(IsDialogMessageA(dialog_, &key));
        } else {
            SendMessageA(dialog_, WM_CLOSE, 0, 0);
            RunPostedMessages();
        }
        EXPECT_FALSE(Showing()) << way;
        ExpectOctaves(5);
    }
}

TEST_F(OctavesDialog, ShowOctavesDialogRunsModallyUntilOk)
{
    DestroyWindow(dialog_);
    dialog_ = nullptr;
    std::atomic<bool> found{false};
    std::thread closer([&found] {
        for (int i = 0; i < 500; ++i) {
            HWND shown = FindWindowA("#32770", "Octaves");
            if (shown && IsWindowVisible(shown)) {
                found = true;
                SetDlgItemTextA(shown, IDC_OCTAVE_FIRST + 9, "6");
                PostMessageA(shown, WM_COMMAND, IDOK, 0);
                return;
            }
            Sleep(10);
        }
    });
    ShowOctavesDialog(nullptr);
    closer.join();
    EXPECT_TRUE(found);
    EXPECT_EQ(Settings.VoiceOctave[9], 6);
    EXPECT_EQ(Settings.VoiceOctave[8], 5);
}

}  // namespace
