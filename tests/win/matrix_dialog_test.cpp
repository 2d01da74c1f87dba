#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "dialogs/dialogs_win32.h"
#include "resources/resource.h"
#include "settings/settings.h"
#include "tests/win/support/dialog_user.h"
#include "tests/win/support/message_box.h"

namespace {

// Types one character at the caret placed at from..to, as the keyboard would.
void Type(HWND edit, char c, int from = -1, int to = -1)
{
    int end = GetWindowTextLengthA(edit);
    SendMessageA(edit, EM_SETSEL, from < 0 ? end : from, to < 0 ? end : to);
    SendMessageA(edit, WM_CHAR, (WPARAM)(unsigned char)c, 0);
}

void TypeAtEnd(HWND edit, const char* chars)
{
    for (const char* c = chars; *c; ++c) Type(edit, *c);
}

class MatrixDialog : public ::testing::Test {
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
        dialog_ = CreateDialogParamA(GetModuleHandle(nullptr), MAKEINTRESOURCE(127), nullptr, MatrixDialogProc, 0);
        ASSERT_NE(dialog_, nullptr);
        ShowWindow(dialog_, SW_SHOW);
    }
    HWND Tone(int i) { return GetDlgItem(dialog_, IDC_TONE_FIRST + i); }
    HWND Duration(int i) { return GetDlgItem(dialog_, IDC_DURATION_FIRST + i); }
    HWND Velocity(int i) { return GetDlgItem(dialog_, IDC_VELOCITY_FIRST + i); }
    std::string ToneText(int i) { return ControlText(dialog_, IDC_TONE_FIRST + i); }
    std::string VelocityText(int i) { return ControlText(dialog_, IDC_VELOCITY_FIRST + i); }
    LRESULT Selected(int i) { return SendMessageA(Duration(i), LB_GETCURSEL, 0, 0); }
    void Command(int id) { SendMessageA(dialog_, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)GetDlgItem(dialog_, id)); }
    bool Showing() { return IsWindowVisible(dialog_) != FALSE; }
    // Presses OK and returns the text of the error box it showed, "" for none.
    std::string PressOkForError()
    {
        MessageBoxWatcher watcher;
        Command(IDOK);
        return watcher.Text();
    }
    void ExpectDefaultRows()
    {
        for (int i = 0; i < RowLength; ++i) {
            EXPECT_EQ(Settings.ToneRow[i], i);
            EXPECT_EQ(Settings.DurationRow[i], 2);
            EXPECT_EQ(Settings.VelocityRow[i], 96);
        }
    }
    HWND dialog_ = nullptr;
};

TEST_F(MatrixDialog, OpensWithTheRowsOfTheSettingsAndSixteenDurationsPerList)
{
    for (int i = 0; i < RowLength; ++i) {
        EXPECT_EQ(ToneText(i), std::to_string(i));
        EXPECT_EQ(VelocityText(i), "96");
        EXPECT_EQ(ListText(Duration(i), (int)Selected(i)), "1/4");
        ASSERT_EQ(SendMessageA(Duration(i), LB_GETCOUNT, 0, 0), 16) << i;
        for (int code = 0; code < 16; ++code) EXPECT_EQ(ListText(Duration(i), code), DurationTable[code].Label);
        EXPECT_EQ(ListText(Duration(i), 15), ".1/32");
    }
    for (int i = 0; i < RowLength; ++i) {
        Settings.ToneRow[i] = 11 - i;
        Settings.DurationRow[i] = i;
        Settings.VelocityRow[i] = 127 - i;
    }
    Open();
    for (int i = 0; i < RowLength; ++i) {
        EXPECT_EQ(ToneText(i), std::to_string(11 - i));
        EXPECT_EQ(Selected(i), i);
        EXPECT_EQ(VelocityText(i), std::to_string(127 - i));
    }
}

TEST_F(MatrixDialog, ControlsStandWhereTheLayoutPutsThem)
{
    RECT client;
    GetClientRect(dialog_, &client);
    EXPECT_TRUE(SameRect(client, DialogUnits(dialog_, 0, 0, 265, 220)));
    char caption[16] = "";
    GetWindowTextA(dialog_, caption, sizeof caption);
    EXPECT_STREQ(caption, "Matrix");
    const struct {
        int first, top1, top2, w, h;
    } groups[] = {{IDC_TONE_FIRST, 25, 50, 25, 12}, {IDC_DURATION_FIRST, 80, 115, 35, 18}, {IDC_VELOCITY_FIRST, 155, 180, 35, 12}};
    for (const auto& g : groups) {
        for (int i = 0; i < RowLength; ++i) {
            const int id = g.first + i, x = 20 + 40 * (i % 6), y = i < 6 ? g.top1 : g.top2;
            RECT want = DialogUnits(dialog_, x, y, g.w, g.h), got = ControlPlace(dialog_, id);
            LONG style = GetWindowLongA(GetDlgItem(dialog_, id), GWL_STYLE);
            if (g.first == IDC_DURATION_FIRST) {
                // a list box may round its height down to whole entries
                EXPECT_TRUE(got.left == want.left && got.top == want.top && got.right == want.right) << id;
                EXPECT_EQ(style & (LBS_SORT | LBS_MULTIPLESEL | LBS_EXTENDEDSEL), 0) << id;
                EXPECT_NE(style & WS_VSCROLL, 0) << id;
            } else {
                EXPECT_TRUE(SameRect(got, want)) << id;
                EXPECT_EQ(style & (ES_NUMBER | ES_AUTOHSCROLL | ES_MULTILINE), 0) << id;
                EXPECT_GE(SendDlgItemMessageA(dialog_, id, EM_GETLIMITTEXT, 0, 0), 30000) << id;
            }
            // the position number stands just above the control
            POINT above = {want.left + 1, DialogUnits(dialog_, x, y - 5, 0, 0).top};
            HWND label = ChildWindowFromPoint(dialog_, above);
            ASSERT_TRUE(label && label != dialog_) << "no label above " << id;
            char text[8] = "";
            GetWindowTextA(label, text, sizeof text);
            EXPECT_EQ(text, std::to_string(i)) << id;
        }
    }
    const struct {
        int id, x, y, w, h;
        const char* text;
    } buttons[] = {{IDC_RANDOM_TONES, 5, 25, 10, 10, "T"},      {IDC_RANDOM_DURATIONS, 5, 80, 10, 10, "D"},
                   {IDC_RANDOM_VELOCITIES, 5, 155, 10, 10, "V"}, {IDOK, 80, 200, 50, 14, "OK"},
                   {IDCANCEL, 144, 200, 50, 14, "Cancel"}};
    for (const auto& b : buttons) {
        EXPECT_EQ(ControlText(dialog_, b.id), b.text);
        EXPECT_TRUE(SameRect(ControlPlace(dialog_, b.id), DialogUnits(dialog_, b.x, b.y, b.w, b.h))) << b.text;
    }
    EXPECT_EQ(GetWindowLongA(GetDlgItem(dialog_, IDOK), GWL_STYLE) & 0xF, BS_DEFPUSHBUTTON);
    LOGFONTA font = {};
    GetObjectA((HFONT)SendMessageA(dialog_, WM_GETFONT, 0, 0), sizeof font, &font);
    EXPECT_STREQ(font.lfFaceName, "MS Sans Serif");
}

TEST_F(MatrixDialog, ToneFieldRefusesValuesAboveElevenAndNonDigits)
{
    HWND tone = Tone(4);
    SetWindowTextA(tone, "");
    Type(tone, '1');
    EXPECT_EQ(ToneText(4), "1");
    Type(tone, '2');
    EXPECT_EQ(ToneText(4), "1");
    Type(tone, '7', 0, -1);
    for (char c : {'a', ' ', '-', '\xB5'}) {
        Type(tone, c);
        EXPECT_EQ(ToneText(4), "7") << (int)c;
        Type(tone, c, 0, 0);
        EXPECT_EQ(ToneText(4), "7") << (int)c;
    }
    // a refused change brings back the last accepted text, not the first one
    SetWindowTextA(tone, "x9");
    EXPECT_EQ(ToneText(4), "7");
    // a third character is neither checked nor used
    SetWindowTextA(tone, "11");
    TypeAtEnd(tone, "1");
    EXPECT_EQ(ToneText(4), "111");
}

TEST_F(MatrixDialog, VelocityFieldChecksItsFirstThreeCharacters)
{
    HWND velocity = Velocity(0);
    Type(velocity, '1', 0, -1);
    TypeAtEnd(velocity, "28a");
    Type(velocity, '-', 0, 0);
    EXPECT_EQ(VelocityText(0), "12");
    TypeAtEnd(velocity, "79");
    EXPECT_EQ(VelocityText(0), "1279");
    SetWindowTextA(velocity, "007");
    EXPECT_EQ(VelocityText(0), "007");
    SetWindowTextA(velocity, "");
    TypeAtEnd(velocity, " ");
    EXPECT_EQ(VelocityText(0), "");
}

TEST_F(MatrixDialog, OkTakesTheLeadingCharactersAndTheListSelections)
{
    SetWindowTextA(Tone(0), "11");
    TypeAtEnd(Tone(0), "1");
    SetWindowTextA(Tone(1), "03");
    SetWindowTextA(Velocity(0), "127");
    TypeAtEnd(Velocity(0), "9");
    SetWindowTextA(Velocity(5), "007");
    SendMessageA(Duration(3), LB_SETCURSEL, 15, 0);
    SendMessageA(Duration(11), LB_SETCURSEL, 0, 0);
    Command(IDOK);
    EXPECT_FALSE(Showing());
    const int32_t tones[RowLength] = {11, 3, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11};
    const int32_t velocities[RowLength] = {127, 96, 96, 96, 96, 7, 96, 96, 96, 96, 96, 96};
    const int32_t durations[RowLength] = {2, 2, 2, 15, 2, 2, 2, 2, 2, 2, 2, 0};
    EXPECT_TRUE(std::equal(tones, tones + RowLength, Settings.ToneRow));
    EXPECT_TRUE(std::equal(velocities, velocities + RowLength, Settings.VelocityRow));
    EXPECT_TRUE(std::equal(durations, durations + RowLength, Settings.DurationRow));
}

TEST_F(MatrixDialog, EmptyToneFieldIsReportedByItsPositionAndNothingIsWritten)
{
    SetWindowTextA(Tone(0), "9");
    SetWindowTextA(Tone(6), "");
    SetWindowTextA(Tone(9), "");
    SetWindowTextA(Velocity(2), "");
    SendMessageA(Duration(1), LB_SETCURSEL, 0, 0);
    EXPECT_EQ(PressOkForError(), "ERROR: Invalid tone 6");
    EXPECT_TRUE(Showing());
    EXPECT_FALSE(MessageBoxShowing());
    ExpectDefaultRows();
    EXPECT_EQ(ToneText(0), "9");
    SetWindowTextA(Tone(6), "6");
    EXPECT_EQ(PressOkForError(), "ERROR: Invalid tone 9");
}

TEST_F(MatrixDialog, EmptyVelocityFieldLeavesTheTypedToneRowWritten)
{
    for (int i = 0; i < RowLength; ++i) SetWindowTextA(Tone(i), std::to_string((i + 5) % 12).c_str());
    SetWindowTextA(Velocity(3), "50");
    SetWindowTextA(Velocity(0), "");
    SendMessageA(Duration(0), LB_SETCURSEL, 7, 0);
    EXPECT_EQ(PressOkForError(), "ERROR: Invalid velocity 0");
    EXPECT_TRUE(Showing());
    Command(IDCANCEL);
    EXPECT_FALSE(Showing());
    for (int i = 0; i < RowLength; ++i) {
        EXPECT_EQ(Settings.ToneRow[i], (i + 5) % 12);
        EXPECT_EQ(Settings.VelocityRow[i], 96);
        EXPECT_EQ(Settings.DurationRow[i], 2);
    }
}

TEST_F(MatrixDialog, CancelEscapeAndTheCloseBoxWriteNothing)
{
    for (int way = 0; way < 3; ++way) {
        Open();
        SetWindowTextA(Tone(2), "7");
        SetWindowTextA(Velocity(2), "1");
        SendMessageA(Duration(2), LB_SETCURSEL, 9, 0);
        if (way == 0) Command(IDCANCEL);
        if (way == 1) PressDialogKey(dialog_, VK_ESCAPE);
        if (way == 2) SendMessageA(dialog_, WM_CLOSE, 0, 0);
        PumpMessages();
        EXPECT_FALSE(Showing()) << way;
        ExpectDefaultRows();
    }
}

TEST_F(MatrixDialog, TDrawsAPermutationThatStaysAfterCancel)
{
    Command(IDC_RANDOM_TONES);
    std::vector<int32_t> drawn(Settings.ToneRow, Settings.ToneRow + RowLength);
    for (int i = 0; i < RowLength; ++i) EXPECT_EQ(ToneText(i), std::to_string(drawn[i])) << i;
    std::vector<int32_t> sorted = drawn;
    std::sort(sorted.begin(), sorted.end());
    for (int i = 0; i < RowLength; ++i) EXPECT_EQ(sorted[i], i);
    EXPECT_TRUE(Showing());
    Command(IDCANCEL);
    EXPECT_TRUE(std::equal(drawn.begin(), drawn.end(), Settings.ToneRow));
    for (int i = 0; i < RowLength; ++i) {
        EXPECT_EQ(Settings.DurationRow[i], 2);
        EXPECT_EQ(Settings.VelocityRow[i], 96);
    }
}

TEST_F(MatrixDialog, DAndVDrawTheirRowsIntoTheSettingsAndTheControls)
{
    Command(IDC_RANDOM_DURATIONS);
    Command(IDC_RANDOM_VELOCITIES);
    for (int i = 0; i < RowLength; ++i) {
        int32_t code = Settings.DurationRow[i], v = Settings.VelocityRow[i];
        EXPECT_TRUE(code >= 2 && code <= 4) << code;
        EXPECT_EQ(Selected(i), code);
        EXPECT_TRUE(v >= 40 && v <= 100 && v % 10 == 0) << v;
        EXPECT_EQ(VelocityText(i), std::to_string(v));
        EXPECT_EQ(Settings.ToneRow[i], i);
    }
    // the drawn texts are the fields' accepted texts now
    Type(Velocity(4), 'q', 0, 0);
    EXPECT_EQ(VelocityText(4), std::to_string(Settings.VelocityRow[4]));
    // and OK takes the same values back
    std::vector<int32_t> durations(Settings.DurationRow, Settings.DurationRow + RowLength);
    std::vector<int32_t> velocities(Settings.VelocityRow, Settings.VelocityRow + RowLength);
    ResetSettings();
    Command(IDOK);
    EXPECT_TRUE(std::equal(durations.begin(), durations.end(), Settings.DurationRow));
    EXPECT_TRUE(std::equal(velocities.begin(), velocities.end(), Settings.VelocityRow));
}

TEST_F(MatrixDialog, ShowMatrixDialogRunsModallyUntilCancel)
{
    DestroyWindow(dialog_);
    dialog_ = nullptr;
    DialogUser user("Matrix", [](HWND shown) {
        SetDlgItemTextA(shown, IDC_TONE_FIRST, "9");
        PostMessageA(shown, WM_COMMAND, IDCANCEL, 0);
    });
    ShowMatrixDialog(nullptr);
    EXPECT_TRUE(user.Seen());
    ExpectDefaultRows();
}

}  // namespace
