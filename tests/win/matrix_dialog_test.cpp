#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

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

// Types characters at the end of an edit's text, as the keyboard would.
void TypeAtEnd(HWND edit, const char* chars)
{
    for (const char* c = chars; *c; ++c) {
        int length = GetWindowTextLengthA(edit);
        SendMessageA(edit, EM_SETSEL, length, length);
        SendMessageA(edit, WM_CHAR, (WPARAM)(unsigned char)*c, 0);
    }
}

void TypeAtStart(HWND edit, char c)
{
    SendMessageA(edit, EM_SETSEL, 0, 0);
    SendMessageA(edit, WM_CHAR, (WPARAM)(unsigned char)c, 0);
}

// Selects the whole text and types over it.
void TypeOver(HWND edit, const char* chars)
{
    SendMessageA(edit, EM_SETSEL, 0, -1);
    SendMessageA(edit, WM_CHAR, (WPARAM)(unsigned char)chars[0], 0);
    TypeAtEnd(edit, chars + 1);
}

// The rectangle of a control in dialog units' pixels, relative to the dialog.
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

struct Label {
    std::string text;
    RECT place;
};

std::vector<Label> StaticLabels(HWND dialog)
{
    std::vector<Label> labels;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        char cls[32] = "";
        GetClassNameA(child, cls, sizeof cls);
        if (lstrcmpiA(cls, "Static") == 0) labels.push_back({TextOf(child), PlaceOf(dialog, child)});
    }
    return labels;
}

class MatrixDialog : public ::testing::Test {
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
        dialog_ = CreateDialogParamA(GetModuleHandle(nullptr), MAKEINTRESOURCE(127), nullptr, MatrixDialogProc, 0);
        ASSERT_NE(dialog_, nullptr);
        ShowWindow(dialog_, SW_SHOW);
    }
    HWND Tone(int i) { return GetDlgItem(dialog_, IDC_TONE_FIRST + i); }
    HWND Duration(int i) { return GetDlgItem(dialog_, IDC_DURATION_FIRST + i); }
    HWND Velocity(int i) { return GetDlgItem(dialog_, IDC_VELOCITY_FIRST + i); }
    void Command(int id) { SendMessageA(dialog_, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)GetDlgItem(dialog_, id)); }
    bool Open_() { return IsWindowVisible(dialog_) != FALSE; }
    // Presses OK and returns the text of the error box it showed, "" for none.
    std::string PressOkExpectingError()
    {
        MessageBoxWatcher watcher;
        Command(IDOK);
        return watcher.Text();
    }
    void ExpectRowsAsDefaults()
    {
        for (int i = 0; i < RowLength; ++i) {
            EXPECT_EQ(Settings.ToneRow[i], i);
            EXPECT_EQ(Settings.DurationRow[i], 2);
            EXPECT_EQ(Settings.VelocityRow[i], 96);
        }
    }
    HWND dialog_ = nullptr;
};

TEST_F(MatrixDialog, OpensWithTheDefaultRowsAndSixteenDurationsPerList)
{
    EXPECT_EQ(TextOf(dialog_), "Matrix");
    for (int i = 0; i < RowLength; ++i) {
        EXPECT_EQ(TextOf(Tone(i)), std::to_string(i));
        EXPECT_EQ(TextOf(Velocity(i)), "96");
        ASSERT_EQ(SendMessageA(Duration(i), LB_GETCOUNT, 0, 0), 16) << i;
        EXPECT_EQ(SendMessageA(Duration(i), LB_GETCURSEL, 0, 0), 2);
        for (int code = 0; code < 16; ++code) {
            char label[LabelSize] = "";
            SendMessageA(Duration(i), LB_GETTEXT, code, (LPARAM)label);
            EXPECT_STREQ(label, DurationTable[code].Label) << i << ' ' << code;
        }
    }
    char last[LabelSize] = "", selected[LabelSize] = "";
    SendMessageA(Duration(0), LB_GETTEXT, 15, (LPARAM)last);
    SendMessageA(Duration(0), LB_GETTEXT, 2, (LPARAM)selected);
    EXPECT_STREQ(last, ".1/32");
    EXPECT_STREQ(selected, "1/4");
}

TEST_F(MatrixDialog, OpensWithTheCurrentRowsNotTheDefaults)
{
    for (int i = 0; i < RowLength; ++i) {
        Settings.ToneRow[i] = 11 - i;
        Settings.DurationRow[i] = i;
        Settings.VelocityRow[i] = 127 - i;
    }
    Open();
    for (int i = 0; i < RowLength; ++i) {
        EXPECT_EQ(TextOf(Tone(i)), std::to_string(11 - i));
        EXPECT_EQ(SendMessageA(Duration(i), LB_GETCURSEL, 0, 0), i);
        EXPECT_EQ(TextOf(Velocity(i)), std::to_string(127 - i));
    }
}

TEST_F(MatrixDialog, ControlsStandWhereTheLayoutPutsThem)
{
    RECT client;
    GetClientRect(dialog_, &client);
    RECT whole = Units(dialog_, 0, 0, 265, 220);
    EXPECT_EQ(client.right, whole.right);
    EXPECT_EQ(client.bottom, whole.bottom);
    std::vector<Label> labels = StaticLabels(dialog_);
    struct Group {
        int first, top1, top2, w, h;
    };
    const Group groups[] = {{IDC_TONE_FIRST, 25, 50, 25, 12},
                            {IDC_DURATION_FIRST, 80, 115, 35, 18},
                            {IDC_VELOCITY_FIRST, 155, 180, 35, 12}};
    for (const Group& g : groups) {
        for (int i = 0; i < RowLength; ++i) {
            HWND control = GetDlgItem(dialog_, g.first + i);
            ASSERT_NE(control, nullptr) << g.first + i;
            RECT want = Units(dialog_, 20 + 40 * (i % 6), i < 6 ? g.top1 : g.top2, g.w, g.h);
            RECT got = PlaceOf(dialog_, control);
            EXPECT_EQ(got.left, want.left) << g.first + i;
            EXPECT_EQ(got.top, want.top) << g.first + i;
            EXPECT_EQ(got.right, want.right) << g.first + i;
            LONG style = GetWindowLongA(control, GWL_STYLE);
            if (g.first == IDC_DURATION_FIRST) {
                EXPECT_EQ(style & (LBS_SORT | LBS_MULTIPLESEL | LBS_EXTENDEDSEL), 0) << g.first + i;
                EXPECT_NE(style & WS_VSCROLL, 0);
            } else {
                EXPECT_EQ(got.bottom, want.bottom) << g.first + i;
                EXPECT_EQ(style & (ES_NUMBER | ES_AUTOHSCROLL | ES_MULTILINE), 0) << g.first + i;
                EXPECT_GE(SendMessageA(control, EM_GETLIMITTEXT, 0, 0), 30000);
            }
            // the position number stands just above each control
            bool labelled = std::any_of(labels.begin(), labels.end(), [&](const Label& l) {
                return l.text == std::to_string(i) && l.place.left == got.left && l.place.bottom <= got.top &&
                       l.place.bottom > got.top - Units(dialog_, 0, 0, 0, 12).bottom;
            });
            EXPECT_TRUE(labelled) << "label " << i << " of " << g.first;
        }
    }
    const struct {
        int id, x, y, w, h;
        const char* text;
    } buttons[] = {{IDC_RANDOM_TONES, 5, 25, 10, 10, "T"},     {IDC_RANDOM_DURATIONS, 5, 80, 10, 10, "D"},
                   {IDC_RANDOM_VELOCITIES, 5, 155, 10, 10, "V"}, {IDOK, 80, 200, 50, 14, "OK"},
                   {IDCANCEL, 144, 200, 50, 14, "Cancel"}};
    for (const auto& b : buttons) {
        HWND button = GetDlgItem(dialog_, b.id);
        ASSERT_NE(button, nullptr) << b.id;
        EXPECT_EQ(TextOf(button), b.text);
        RECT want = Units(dialog_, b.x, b.y, b.w, b.h), got = PlaceOf(dialog_, button);
        EXPECT_TRUE(EqualRect(&want, &got)) << b.text;
    }
    EXPECT_EQ(GetWindowLongA(GetDlgItem(dialog_, IDOK), GWL_STYLE) & 0xF, BS_DEFPUSHBUTTON);
    LOGFONTA font = {};
    GetObjectA((HFONT)SendMessageA(dialog_, WM_GETFONT, 0, 0), sizeof font, &font);
    EXPECT_STREQ(font.lfFaceName, "MS Sans Serif");
}

TEST_F(MatrixDialog, ToneFieldRefusesAValueAboveElevenAndNonDigits)
{
    HWND tone = Tone(4);
    SetWindowTextA(tone, "");
    TypeAtEnd(tone, "1");
    EXPECT_EQ(TextOf(tone), "1");
    TypeAtEnd(tone, "2");
    EXPECT_EQ(TextOf(tone), "1");
    TypeOver(tone, "7");
    for (char c : {'a', ' ', '-', '\xB5'}) {
        TypeAtEnd(tone, std::string(1, c).c_str());
        EXPECT_EQ(TextOf(tone), "7") << (int)c;
        TypeAtStart(tone, c);
        EXPECT_EQ(TextOf(tone), "7") << (int)c;
    }
    // a refused change leaves the last accepted text, not the text on opening
    SetWindowTextA(tone, "x9");
    EXPECT_EQ(TextOf(tone), "7");
    // a third character is neither checked nor used
    SetWindowTextA(tone, "11");
    TypeAtEnd(tone, "1");
    EXPECT_EQ(TextOf(tone), "111");
}

TEST_F(MatrixDialog, VelocityFieldChecksItsFirstThreeCharacters)
{
    HWND velocity = Velocity(0);
    TypeOver(velocity, "12");
    TypeAtEnd(velocity, "8");
    EXPECT_EQ(TextOf(velocity), "12");
    TypeAtEnd(velocity, "a");
    EXPECT_EQ(TextOf(velocity), "12");
    TypeAtStart(velocity, '-');
    EXPECT_EQ(TextOf(velocity), "12");
    TypeAtEnd(velocity, "7");
    EXPECT_EQ(TextOf(velocity), "127");
    TypeAtEnd(velocity, "9");
    EXPECT_EQ(TextOf(velocity), "1279");
    SetWindowTextA(velocity, "007");
    EXPECT_EQ(TextOf(velocity), "007");
    SetWindowTextA(velocity, "");
    EXPECT_EQ(TextOf(velocity), "");
    TypeAtEnd(velocity, " ");
    EXPECT_EQ(TextOf(velocity), "");
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
    EXPECT_FALSE(Open_());
    EXPECT_EQ(Settings.ToneRow[0], 11);
    EXPECT_EQ(Settings.ToneRow[1], 3);
    EXPECT_EQ(Settings.ToneRow[2], 2);
    EXPECT_EQ(Settings.VelocityRow[0], 127);
    EXPECT_EQ(Settings.VelocityRow[5], 7);
    EXPECT_EQ(Settings.VelocityRow[6], 96);
    EXPECT_EQ(Settings.DurationRow[3], 15);
    EXPECT_EQ(Settings.DurationRow[11], 0);
    EXPECT_EQ(Settings.DurationRow[4], 2);
}

TEST_F(MatrixDialog, EmptyToneFieldIsReportedByItsPositionAndNothingIsWritten)
{
    SetWindowTextA(Tone(0), "9");
    SetWindowTextA(Tone(6), "");
    SetWindowTextA(Tone(9), "");
    SetWindowTextA(Velocity(2), "");
    SendMessageA(Duration(1), LB_SETCURSEL, 0, 0);
    EXPECT_EQ(PressOkExpectingError(), "ERROR: Invalid tone 6");
    EXPECT_TRUE(Open_());
    EXPECT_FALSE(MessageBoxShowing());
    ExpectRowsAsDefaults();
    EXPECT_EQ(TextOf(Tone(0)), "9");
    EXPECT_EQ(TextOf(Tone(6)), "");

    // fill it and the next empty one is reported
    SetWindowTextA(Tone(6), "6");
    EXPECT_EQ(PressOkExpectingError(), "ERROR: Invalid tone 9");
}

TEST_F(MatrixDialog, EmptyVelocityFieldLeavesTheTypedToneRowWritten)
{
    for (int i = 0; i < RowLength; ++i) SetWindowTextA(Tone(i), std::to_string((i + 5) % 12).c_str());
    SetWindowTextA(Velocity(3), "50");
    SetWindowTextA(Velocity(0), "");
    SendMessageA(Duration(0), LB_SETCURSEL, 7, 0);
    EXPECT_EQ(PressOkExpectingError(), "ERROR: Invalid velocity 0");
    EXPECT_TRUE(Open_());
    for (int i = 0; i < RowLength; ++i) {
        EXPECT_EQ(Settings.ToneRow[i], (i + 5) % 12);
        EXPECT_EQ(Settings.VelocityRow[i], 96);
        EXPECT_EQ(Settings.DurationRow[i], 2);
    }
    Command(IDCANCEL);
    EXPECT_FALSE(Open_());
    EXPECT_EQ(Settings.ToneRow[0], 5);
}

TEST_F(MatrixDialog, CancelEscapeAndTheCloseBoxWriteNothing)
{
    for (int way = 0; way < 3; ++way) {
        ResetSettings();
        Open();
        SetWindowTextA(Tone(2), "7");
        SetWindowTextA(Velocity(2), "1");
        SendMessageA(Duration(2), LB_SETCURSEL, 9, 0);
        if (way == 0) {
            Command(IDCANCEL);
        } else if (way == 1) {
            MSG key = {Tone(2), WM_KEYDOWN, VK_ESCAPE, 0, 0, {0, 0}};
            EXPECT_TRUE(IsDialogMessageA(dialog_, &key));
        } else {
            SendMessageA(dialog_, WM_CLOSE, 0, 0);
            RunPostedMessages();
        }
        EXPECT_FALSE(Open_()) << way;
        ExpectRowsAsDefaults();
    }
}

TEST_F(MatrixDialog, TDrawsAPermutationThatStaysAfterCancel)
{
    Command(IDC_RANDOM_TONES);
    std::vector<int32_t> row(Settings.ToneRow, Settings.ToneRow + RowLength);
    for (int i = 0; i < RowLength; ++i) EXPECT_EQ(TextOf(Tone(i)), std::to_string(row[i])) << i;
    std::sort(row.begin(), row.end());
    for (int i = 0; i < RowLength; ++i) EXPECT_EQ(row[i], i);
    std::vector<int32_t> drawn(Settings.ToneRow, Settings.ToneRow + RowLength);
    EXPECT_TRUE(Open_());
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
        EXPECT_GE(Settings.DurationRow[i], 2);
        EXPECT_LE(Settings.DurationRow[i], 4);
        EXPECT_EQ(SendMessageA(Duration(i), LB_GETCURSEL, 0, 0), Settings.DurationRow[i]);
        int32_t v = Settings.VelocityRow[i];
        EXPECT_TRUE(v >= 40 && v <= 100 && v % 10 == 0) << v;
        EXPECT_EQ(TextOf(Velocity(i)), std::to_string(v));
        EXPECT_EQ(Settings.ToneRow[i], i);
    }
    // the drawn velocity texts are the fields' accepted texts now
    TypeAtStart(Velocity(4), 'q');
    EXPECT_EQ(TextOf(Velocity(4)), std::to_string(Settings.VelocityRow[4]));
    // OK takes the same values back
    std::vector<int32_t> durations(Settings.DurationRow, Settings.DurationRow + RowLength);
    std::vector<int32_t> velocities(Settings.VelocityRow, Settings.VelocityRow + RowLength);
    Command(IDOK);
    EXPECT_TRUE(std::equal(durations.begin(), durations.end(), Settings.DurationRow));
    EXPECT_TRUE(std::equal(velocities.begin(), velocities.end(), Settings.VelocityRow));
}

TEST_F(MatrixDialog, ShowMatrixDialogRunsModallyUntilCancel)
{
    DestroyWindow(dialog_);
    dialog_ = nullptr;
    std::atomic<bool> found{false};
    std::thread closer([&found] {
        for (int i = 0; i < 500; ++i) {
            HWND shown = FindWindowA("#32770", "Matrix");
            if (shown && IsWindowVisible(shown)) {
                found = true;
                SetDlgItemTextA(shown, IDC_TONE_FIRST, "9");
                PostMessageA(shown, WM_COMMAND, IDCANCEL, 0);
                return;
            }
            Sleep(10);
        }
    });
    ShowMatrixDialog(nullptr);
    closer.join();
    EXPECT_TRUE(found);
    ExpectRowsAsDefaults();
}

}  // namespace
