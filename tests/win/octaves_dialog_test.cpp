#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "dialogs/dialogs_win32.h"
#include "resources/resource.h"
#include "settings/settings.h"
#include "tests/win/support/dialog_user.h"
#include "tests/win/support/message_box.h"

namespace {

// Types one character at the end of the text, or over all of it.
void Type(HWND edit, char c, bool over = false)
{
    int end = GetWindowTextLengthA(edit);
    SendMessageA(edit, EM_SETSEL, over ? 0 : end, end);
    SendMessageA(edit, WM_CHAR, (WPARAM)(unsigned char)c, 0);
}

class OctavesDialog : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetSettings();
        Open();
    }
    void TearDown() override { DestroyWindow(dialog_); }
    void Open()
    {
        if (dialog_) DestroyWindow(dialog_);
        dialog_ = CreateDialogParamA(GetModuleHandle(nullptr), MAKEINTRESOURCE(131), nullptr, OctavesDialogProc, 0);
        ASSERT_NE(dialog_, nullptr);
        ShowWindow(dialog_, SW_SHOW);
    }
    HWND Octave(int i) { return GetDlgItem(dialog_, IDC_OCTAVE_FIRST + i); }
    std::string Text(int i) { return ControlText(dialog_, IDC_OCTAVE_FIRST + i); }
    void Command(int id) { SendMessageA(dialog_, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)GetDlgItem(dialog_, id)); }
    bool Showing() { return IsWindowVisible(dialog_) != FALSE; }
    void ExpectAllOctaves(int32_t expected)
    {
        for (int i = 0; i < VoiceCount; ++i) EXPECT_EQ(Settings.VoiceOctave[i], expected) << i;
    }
    HWND dialog_ = nullptr;
};

TEST_F(OctavesDialog, OpensWithTheCurrentOctavesAtTheirPlaces)
{
    for (int i = 0; i < VoiceCount; ++i) EXPECT_EQ(Text(i), "5") << i;
    for (int i = 0; i < VoiceCount; ++i) Settings.VoiceOctave[i] = i % 9;
    Open();
    char caption[16] = "";
    GetWindowTextA(dialog_, caption, sizeof caption);
    EXPECT_STREQ(caption, "Octaves");
    RECT client;
    GetClientRect(dialog_, &client);
    EXPECT_TRUE(SameRect(client, DialogUnits(dialog_, 0, 0, 158, 180)));
    for (int i = 0; i < VoiceCount; ++i) {
        EXPECT_EQ(Text(i), std::to_string(i % 9));
        RECT want = DialogUnits(dialog_, i < 8 ? 32 : 99, 20 + 15 * (i % 8), 18, 12);
        EXPECT_TRUE(SameRect(ControlPlace(dialog_, Octave(i)), want)) << i;
        EXPECT_EQ(GetWindowLongA(Octave(i), GWL_STYLE) & (ES_NUMBER | ES_AUTOHSCROLL | ES_MULTILINE), 0) << i;
        // the voice number, from 1, stands to the left on the same line
        POINT left = {DialogUnits(dialog_, i < 8 ? 24 : 88, 0, 0, 0).left, (want.top + want.bottom) / 2};
        HWND label = ChildWindowFromPoint(dialog_, left);
        ASSERT_TRUE(label && label != dialog_) << "no label left of voice " << i + 1;
        char text[8] = "";
        GetWindowTextA(label, text, sizeof text);
        EXPECT_EQ(text, std::to_string(i + 1));
    }
    EXPECT_TRUE(SameRect(ControlPlace(dialog_, IDOK), DialogUnits(dialog_, 22, 156, 50, 14)));
    EXPECT_TRUE(SameRect(ControlPlace(dialog_, IDCANCEL), DialogUnits(dialog_, 86, 156, 50, 14)));
    EXPECT_EQ(ControlText(dialog_, IDCANCEL), "Cancel");
    EXPECT_EQ(GetWindowLongA(GetDlgItem(dialog_, IDOK), GWL_STYLE) & 0xF, BS_DEFPUSHBUTTON);
}

TEST_F(OctavesDialog, LiveCheckKeepsTheLastAcceptedText)
{
    HWND edit = Octave(3);
    Type(edit, '7', true);
    Type(edit, 'x');
    EXPECT_EQ(Text(3), "7");
    Type(edit, '9', true);
    EXPECT_EQ(Text(3), "7");
    SetWindowTextA(edit, "-1");
    EXPECT_EQ(Text(3), "7");

    SetWindowTextA(edit, "");
    Type(edit, '9');
    EXPECT_EQ(Text(3), "");
    Type(edit, '0');
    Type(edit, '8');
    EXPECT_EQ(Text(3), "08");
}

TEST_F(OctavesDialog, OkWritesAllSixteenFromTheirFirstTwoCharacters)
{
    SetWindowTextA(Octave(0), "08");
    SetWindowTextA(Octave(1), "012");
    EXPECT_EQ(Text(1), "012");
    SetWindowTextA(Octave(2), "0");
    SetWindowTextA(Octave(15), "3");
    Command(IDOK);
    EXPECT_FALSE(Showing());
    const int32_t expected[VoiceCount] = {8, 1, 0, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 3};
    for (int i = 0; i < VoiceCount; ++i) EXPECT_EQ(Settings.VoiceOctave[i], expected[i]) << i;
}

TEST_F(OctavesDialog, AnEmptyFieldIsReportedByItsIndexAndNothingIsWritten)
{
    for (int i = 1; i < VoiceCount; ++i) SetWindowTextA(Octave(i), "2");
    SetWindowTextA(Octave(0), "");
    SetWindowTextA(Octave(15), "");
    for (const char* expected : {"ERROR: Invalid octave 0", "ERROR: Invalid octave 15"}) {
        MessageBoxWatcher watcher;
        Command(IDOK);
        EXPECT_EQ(watcher.Text(), expected);
        EXPECT_TRUE(Showing());
        ExpectAllOctaves(5);
        SetWindowTextA(Octave(0), "4");
    }
    EXPECT_EQ(Text(3), "2");
}

TEST_F(OctavesDialog, CancelEscapeAndTheCloseBoxWriteNothing)
{
    for (int way = 0; way < 3; ++way) {
        Open();
        for (int i = 0; i < VoiceCount; ++i) Type(Octave(i), '1', true);
        if (way == 0) Command(IDCANCEL);
        if (way == 1) PressDialogKey(dialog_, VK_ESCAPE);
        if (way == 2) SendMessageA(dialog_, WM_CLOSE, 0, 0);
        PumpMessages();
        EXPECT_FALSE(Showing()) << way;
        ExpectAllOctaves(5);
    }
}

TEST_F(OctavesDialog, ShowOctavesDialogRunsModallyUntilOk)
{
    DestroyWindow(dialog_);
    dialog_ = nullptr;
    DialogUser user("Octaves", [](HWND shown) {
        SetDlgItemTextA(shown, IDC_OCTAVE_FIRST + 9, "6");
        PostMessageA(shown, WM_COMMAND, IDOK, 0);
    });
    ShowOctavesDialog(nullptr);
    EXPECT_TRUE(user.Seen());
    EXPECT_EQ(Settings.VoiceOctave[9], 6);
    EXPECT_EQ(Settings.VoiceOctave[8], 5);
}

}  // namespace
