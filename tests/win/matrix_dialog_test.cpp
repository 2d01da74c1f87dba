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
#include "tests/win/support/template_dialog.h"

namespace {

class MatrixDialog : public TemplateDialogTest {
protected:
    MatrixDialog() : TemplateDialogTest(IDD_MATRIX, MatrixDialogProc) {}
    void SetUp() override
    {
        TemplateDialogTest::SetUp();
        ASSERT_NE(Open(), nullptr);
    }
    HWND Tone(int i) { return GetDlgItem(dialog_, IDC_TONE_FIRST + i); }
    HWND Duration(int i) { return GetDlgItem(dialog_, IDC_DURATION_FIRST + i); }
    HWND Velocity(int i) { return GetDlgItem(dialog_, IDC_VELOCITY_FIRST + i); }
    std::string ToneText(int i) { return ControlText(dialog_, IDC_TONE_FIRST + i); }
    std::string VelocityText(int i) { return ControlText(dialog_, IDC_VELOCITY_FIRST + i); }
    LRESULT Selected(int i) { return SendMessageA(Duration(i), LB_GETCURSEL, 0, 0); }
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
};

TEST_F(MatrixDialog, OpensWithTheRowsOfTheSettingsAndSixteenDurationsPerList)
{
    // The first tone has the focus, selected, not T: a Space there would
    // draw a tone row that Cancel keeps.
    EXPECT_EQ(GetFocus(), Tone(0));
    EXPECT_EQ(SendMessageA(Tone(0), EM_GETSEL, 0, 0), MAKELRESULT(0, 1));
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

TEST_F(MatrixDialog, ToneFieldRefusesValuesAboveElevenAndNonDigits)
{
    HWND tone = Tone(4);
    SetWindowTextA(tone, "");
    TypeInEdit(tone, "1");
    EXPECT_EQ(ToneText(4), "1");
    TypeInEdit(tone, "2");
    EXPECT_EQ(ToneText(4), "1");
    TypeInEdit(tone, "7", 0, -1);
    for (char c : {'a', ' ', '-', '\xB5'}) {
        TypeInEdit(tone, std::string(1, c));
        EXPECT_EQ(ToneText(4), "7") << (int)c;
        TypeInEdit(tone, std::string(1, c), 0, 0);
        EXPECT_EQ(ToneText(4), "7") << (int)c;
    }
    // a refused change brings back the last accepted text, not the first one
    SetWindowTextA(tone, "x9");
    EXPECT_EQ(ToneText(4), "7");
    // a third character is neither checked nor used
    SetWindowTextA(tone, "11");
    TypeInEdit(tone, "1");
    EXPECT_EQ(ToneText(4), "111");
}

TEST_F(MatrixDialog, VelocityFieldChecksItsFirstThreeCharacters)
{
    HWND velocity = Velocity(0);
    TypeInEdit(velocity, "1", 0, -1);
    TypeInEdit(velocity, "28a");
    TypeInEdit(velocity, "-", 0, 0);
    EXPECT_EQ(VelocityText(0), "12");
    TypeInEdit(velocity, "79");
    EXPECT_EQ(VelocityText(0), "1279");
    SetWindowTextA(velocity, "007");
    EXPECT_EQ(VelocityText(0), "007");
    SetWindowTextA(velocity, "");
    TypeInEdit(velocity, " ");
    EXPECT_EQ(VelocityText(0), "");
}

// Keys typed one after another, without placing the caret again: a refused
// key leaves the caret where the user was typing.
TEST_F(MatrixDialog, TypingGoesOnWhereItStoodAfterARefusedKey)
{
    SetWindowTextA(Tone(4), "");
    TypeInEdit(Tone(4), "120");
    EXPECT_EQ(ToneText(4), "10");

    // "0" at the end of "96" is refused; the caret stays at the end.
    TypeInEdit(Velocity(2), "0");
    EXPECT_EQ(VelocityText(2), "96");
    TypeKeys("\b5");
    EXPECT_EQ(VelocityText(2), "95");

    // In the middle: "192" is refused, and the caret stays after the "1".
    SetWindowTextA(Velocity(7), "12");
    TypeInEdit(Velocity(7), "9", 1, 1);
    EXPECT_EQ(VelocityText(7), "12");
    TypeKeys("0");
    EXPECT_EQ(VelocityText(7), "102");
    Command(IDOK);
    EXPECT_EQ(Settings.ToneRow[4], 10);
    EXPECT_EQ(Settings.VelocityRow[2], 95);
    EXPECT_EQ(Settings.VelocityRow[7], 102);
}

TEST_F(MatrixDialog, OkTakesTheLeadingCharactersAndTheListSelections)
{
    SetWindowTextA(Tone(0), "11");
    TypeInEdit(Tone(0), "1");
    SetWindowTextA(Tone(1), "03");
    SetWindowTextA(Velocity(0), "127");
    TypeInEdit(Velocity(0), "9");
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
        LeaveWithoutOk(way);
        EXPECT_FALSE(Showing()) << WayNames[way];
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
    TypeInEdit(Velocity(4), "q", 0, 0);
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
    TearDown();
    DialogUser user("Matrix", [](HWND shown) {
        SetDlgItemTextA(shown, IDC_TONE_FIRST, "9");
        PostMessageA(shown, WM_COMMAND, IDCANCEL, 0);
    });
    ShowMatrixDialog(nullptr);
    EXPECT_TRUE(user.Seen());
    ExpectDefaultRows();
}

}  // namespace
