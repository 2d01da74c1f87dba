#include <gtest/gtest.h>

#include <windows.h>

#include "app/app_win32.h"
#include "dialogs/dialogs_win32.h"
#include "resources/resource.h"
#include "settings/settings.h"
#include "tests/win/support/dialog_user.h"

namespace {

class TempoDialog : public ::testing::Test {
protected:
    void SetUp() override { ResetSettings(); }
    void TearDown() override
    {
        if (dialog_) DestroyWindow(dialog_);
    }
    HWND Open()
    {
        if (dialog_) DestroyWindow(dialog_);
        dialog_ = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_MIDI), nullptr,
                                     TempoDialogProc, 0);
        return dialog_;
    }
    HWND List() { return GetDlgItem(dialog_, IDC_TEMPO_LIST); }
    LRESULT Selected() { return SendMessageA(List(), LB_GETCURSEL, 0, 0); }
    void Choose(const char* label)
    {
        const LRESULT position = SendMessageA(List(), LB_FINDSTRINGEXACT, (WPARAM)-1, (LPARAM)label);
        ASSERT_GE(position, 0) << label;
        SendMessageA(List(), LB_SETCURSEL, (WPARAM)position, 0);
    }
    void Press(int id) { SendMessageA(dialog_, WM_COMMAND, id, 0); }

    HWND dialog_ = nullptr;
};

TEST_F(TempoDialog, ListsEveryTempoInTableOrderWithTheDefaultSelected)
{
    ASSERT_NE(Open(), nullptr);
    char caption[16] = "";
    GetWindowTextA(dialog_, caption, sizeof caption);
    EXPECT_STREQ(caption, "MIDI");
    ASSERT_EQ(SendMessageA(List(), LB_GETCOUNT, 0, 0), TempoCount);
    const char* expected[TempoCount] = {"10", "20", "30", "40", "50", "60",
                                        "80", "100", "120", "150", "160", "200"};
    for (int i = 0; i < TempoCount; ++i) EXPECT_EQ(ListText(List(), i), expected[i]) << i;
    EXPECT_EQ(Selected(), 5);
    EXPECT_EQ(ListText(List(), (int)Selected()), "60");
    EXPECT_FALSE(GetWindowLongA(List(), GWL_STYLE) & LBS_SORT);
    EXPECT_TRUE(FindWindowExA(dialog_, nullptr, "Static", "Tempo"));
}

TEST_F(TempoDialog, ControlsStandWhereTheLayoutPutsThem)
{
    ASSERT_NE(Open(), nullptr);
    RECT client{};
    GetClientRect(dialog_, &client);
    EXPECT_TRUE(SameRect(client, DialogUnits(dialog_, 0, 0, 140, 100)));
    EXPECT_TRUE(SameRect(ControlPlace(dialog_, IDOK), DialogUnits(dialog_, 13, 76, 50, 14)));
    EXPECT_TRUE(SameRect(ControlPlace(dialog_, IDCANCEL), DialogUnits(dialog_, 77, 76, 50, 14)));
    // The list keeps to whole lines, so it may come out a little shorter.
    const RECT list = ControlPlace(dialog_, IDC_TEMPO_LIST);
    const RECT layout = DialogUnits(dialog_, 46, 24, 48, 38);
    EXPECT_EQ(list.left, layout.left);
    EXPECT_EQ(list.top, layout.top);
    EXPECT_EQ(list.right, layout.right);
    EXPECT_LE(list.bottom, layout.bottom);
    const LRESULT line = SendMessageA(List(), LB_GETITEMHEIGHT, 0, 0);
    EXPECT_GE(list.bottom - list.top, 3 * line) << "at least three tempi in sight";
    HWND label = FindWindowExA(dialog_, nullptr, "Static", "Tempo");
    EXPECT_TRUE(SameRect(ControlPlace(dialog_, label), DialogUnits(dialog_, 57, 11, 27, 10)));
    EXPECT_EQ(GetWindowLongA(label, GWL_STYLE) & SS_TYPEMASK, SS_CENTER);
}

TEST_F(TempoDialog, OkStoresTheChosenPositionAndTheNextOpeningShowsIt)
{
    ASSERT_NE(Open(), nullptr);
    Choose("120");
    Press(IDOK);
    EXPECT_EQ(ReadTempoIndex(), 8);
    EXPECT_EQ(CurrentTempo(), 120);

    ASSERT_NE(Open(), nullptr);
    EXPECT_EQ(Selected(), 8);
    Choose("200");
    Press(IDOK);
    EXPECT_EQ(CurrentTempo(), 200);
    ASSERT_NE(Open(), nullptr);
    Choose("10");
    Press(IDOK);
    EXPECT_EQ(ReadTempoIndex(), 0);
}

TEST_F(TempoDialog, CancelKeepsTheIndex)
{
    WriteTempoIndex(3);
    ASSERT_NE(Open(), nullptr);
    EXPECT_EQ(Selected(), 3);
    Choose("150");
    Press(IDCANCEL);
    EXPECT_EQ(ReadTempoIndex(), 3);
}

TEST_F(TempoDialog, EscapeAndTheCloseBoxKeepTheIndexThroughTheModalLoop)
{
    AppInstance = GetModuleHandleA(nullptr);
    const auto chooseThen = [](UINT message, WPARAM wParam) {
        return [message, wParam](HWND dialog) {
            SendMessageA(GetDlgItem(dialog, IDC_TEMPO_LIST), LB_SETCURSEL, 11, 0);
            PostMessageA(dialog, message, wParam, 0);
        };
    };
    {
        DialogUser user("MIDI", chooseThen(WM_KEYDOWN, VK_ESCAPE));
        ShowTempoDialog(nullptr);
        EXPECT_TRUE(user.Seen());
    }
    EXPECT_EQ(ReadTempoIndex(), 5);
    {
        DialogUser user("MIDI", chooseThen(WM_SYSCOMMAND, SC_CLOSE));
        ShowTempoDialog(nullptr);
        EXPECT_TRUE(user.Seen());
    }
    EXPECT_EQ(ReadTempoIndex(), 5);
    {
        DialogUser user("MIDI", chooseThen(WM_COMMAND, IDOK));
        ShowTempoDialog(nullptr);
        EXPECT_TRUE(user.Seen());
    }
    EXPECT_EQ(ReadTempoIndex(), 11);
    EXPECT_FALSE(DialogShowing("MIDI"));
}

}  // namespace
