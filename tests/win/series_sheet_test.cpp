#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <cstring>
#include <string>
#include <utility>

#include "app/app_win32.h"
#include "dialogs/dialogs_win32.h"
#include "dialogs/series_ids.h"
#include "dialogs/series_sheet_win32.h"
#include "settings/settings.h"
#include "tests/win/support/dialog_user.h"

namespace {

enum { ApplyButton = 0x3021 };  // the sheet's own id for its Apply button

// Runs the program's own sheet, made modeless so the test can drive it.
class SeriesSheetTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        AppInstance = GetModuleHandleA(nullptr);
        ResetSettings();
    }
    void TearDown() override { Destroy(); }

    HWND Open()
    {
        Destroy();
        PrepareSeriesSheet(sheet_, nullptr);
        sheet_.Header.dwFlags |= PSH_MODELESS;
        window_ = (HWND)PropertySheetA(&sheet_.Header);
        return window_;
    }
    // Opens the tab of voice v (from 0) and gives its page.
    HWND Page(int v)
    {
        PropSheet_SetCurSel(window_, nullptr, v);
        PumpMessages();
        return PropSheet_GetCurrentPageHwnd(window_);
    }
    HWND Box(HWND page, int v, int k) { return GetDlgItem(page, SeriesBoxIds.Ids[v][k]); }
    bool Checked(HWND page, int v, int k) { return SendMessageA(Box(page, v, k), BM_GETCHECK, 0, 0) == BST_CHECKED; }
    void Click(HWND page, int v, int k) { SendMessageA(Box(page, v, k), BM_CLICK, 0, 0); }
    // OK or Cancel; true when the sheet ended.
    bool Press(int button)
    {
        PropSheet_PressButton(window_, button);
        for (int i = 0; i < 200 && PropSheet_GetCurrentPageHwnd(window_); ++i) {
            PumpMessages();
            Sleep(5);
        }
        const bool ended = PropSheet_GetCurrentPageHwnd(window_) == nullptr;
        Destroy();
        return ended;
    }
    void Destroy()
    {
        if (window_) DestroyWindow(window_);
        window_ = nullptr;
        PumpMessages();
    }

    SeriesSheet sheet_{};
    HWND window_ = nullptr;
};

// A fixed pattern that differs between neighbouring boxes and between pages.
int Pattern(int v, int k, int salt)
{
    const uint32_t h = (uint32_t)(v * 48 + k + 1) * 2654435761u + (uint32_t)salt * 40503u;
    return (h >> 13) & 1;
}

TEST_F(SeriesSheetTest, SixteenTabsTitledByTheirVoicesUnderTheCaptionSeries)
{
    ASSERT_NE(Open(), nullptr);
    char caption[32] = "";
    GetWindowTextA(window_, caption, sizeof caption);
    EXPECT_STREQ(caption, "Series");
    HWND tabs = PropSheet_GetTabControl(window_);
    ASSERT_EQ(TabCtrl_GetItemCount(tabs), SeriesPageCount);
    for (int v = 0; v < SeriesPageCount; ++v) {
        char title[16] = "";
        TCITEMA item{};
        item.mask = TCIF_TEXT;
        item.pszText = title;
        item.cchTextMax = sizeof title;
        SendMessageA(tabs, TCM_GETITEMA, (WPARAM)v, (LPARAM)&item);
        EXPECT_EQ(std::string(title), std::to_string(v + 1));
    }
    EXPECT_EQ(TabCtrl_GetCurSel(tabs), 0);
    HWND apply = GetDlgItem(window_, ApplyButton);
    EXPECT_TRUE(apply == nullptr || !IsWindowVisible(apply)) << "no Apply button";
}

// The tabs stand in one row, so that no row moves as the pages turn; each
// page is named for its voice, as a screen reader says it.
TEST_F(SeriesSheetTest, TabsStayInOneRowAsPagesTurnAndEachPageNamesItsVoice)
{
    ASSERT_NE(Open(), nullptr);
    HWND tabs = PropSheet_GetTabControl(window_);
    EXPECT_EQ(TabCtrl_GetRowCount(tabs), 1);
    for (int v : {11, 3, 15}) {
        char name[16] = "";
        GetWindowTextA(Page(v), name, sizeof name);
        EXPECT_EQ(std::string(name), "Voice " + std::to_string(v + 1));
        EXPECT_EQ(TabCtrl_GetRowCount(tabs), 1);
    }
}

// Where a box id of the program and of the templates part ways, the flag a
// box writes is not the one its label names.
TEST_F(SeriesSheetTest, TheBoxOfEveryFlagIsTheOneLabelledWithItsNumber)
{
    ASSERT_NE(Open(), nullptr);
    for (int v = 0; v < SeriesPageCount; ++v) {
        HWND page = Page(v);
        ASSERT_NE(page, nullptr) << "page " << v + 1;
        for (int k = 0; k < SeriesBoxCount; ++k)
            EXPECT_EQ(ControlText(page, SeriesBoxIds.Ids[v][k]), "Slot " + std::to_string(k + 1)) << "page " << v + 1;
    }
}

TEST_F(SeriesSheetTest, DefaultsTickTheFirstTwoBoxesOfPageOneOnly)
{
    ASSERT_NE(Open(), nullptr);
    for (int v = 0; v < SeriesPageCount; ++v) {
        HWND page = Page(v);
        ASSERT_NE(page, nullptr);
        for (int k = 0; k < SeriesBoxCount; ++k)
            EXPECT_EQ(Checked(page, v, k), v == 0 && k < 2) << "page " << v + 1 << " box " << k + 1;
    }
}

TEST_F(SeriesSheetTest, BoxFortyEightOnPageOneSetsOnlyTheLastFlagOfVoiceOne)
{
    CompositionSettings expected;
    std::memcpy(&expected, &Settings, sizeof expected);
    expected.FormSelection[0][47] = 1;
    ASSERT_NE(Open(), nullptr);
    Click(PropSheet_GetCurrentPageHwnd(window_), 0, 47);
    EXPECT_TRUE(Press(PSBTN_OK));
    EXPECT_EQ(std::memcmp(&expected, &Settings, sizeof expected), 0);
}

TEST_F(SeriesSheetTest, CancelAfterChangingPagesThreeAndFiveChangesNothing)
{
    CompositionSettings before;
    std::memcpy(&before, &Settings, sizeof before);
    ASSERT_NE(Open(), nullptr);
    HWND third = Page(2);
    Click(third, 2, 0);
    Click(third, 2, 30);
    HWND fifth = Page(4);
    Click(fifth, 4, 47);
    EXPECT_TRUE(Press(PSBTN_CANCEL));
    EXPECT_EQ(std::memcmp(&before, &Settings, sizeof before), 0);
}

TEST_F(SeriesSheetTest, AllBoxesOfAllPagesSetAllFlagsAndShowOnReopening)
{
    ASSERT_NE(Open(), nullptr);
    for (int v = 0; v < SeriesPageCount; ++v) {
        HWND page = Page(v);
        for (int k = 0; k < SeriesBoxCount; ++k)
            if (!Checked(page, v, k)) Click(page, v, k);
    }
    EXPECT_TRUE(Press(PSBTN_OK));
    for (int v = 0; v < SeriesPageCount; ++v)
        for (int k = 0; k < SeriesBoxCount; ++k) ASSERT_EQ(Settings.FormSelection[v][k], 1) << v << "," << k;

    ASSERT_NE(Open(), nullptr);
    for (int v = 0; v < SeriesPageCount; ++v) {
        HWND page = Page(v);
        for (int k = 0; k < SeriesBoxCount; ++k) EXPECT_TRUE(Checked(page, v, k)) << v << "," << k;
    }
    EXPECT_TRUE(Press(PSBTN_CANCEL));
}

// A different pattern on every page: each box shows and writes its own flag
// and no other, and a page opened but left alone writes back what it showed.
TEST_F(SeriesSheetTest, EveryBoxOfEveryPageReadsAndWritesItsOwnFlag)
{
    for (int v = 0; v < SeriesPageCount; ++v)
        for (int k = 0; k < SeriesBoxCount; ++k) Settings.FormSelection[v][k] = Pattern(v, k, 1);
    ASSERT_NE(Open(), nullptr);
    for (int v = 0; v < SeriesPageCount; ++v) {
        HWND page = Page(v);
        for (int k = 0; k < SeriesBoxCount; ++k)
            EXPECT_EQ(Checked(page, v, k), Pattern(v, k, 1) == 1) << "page " << v + 1 << " box " << k + 1;
    }
    EXPECT_TRUE(Press(PSBTN_OK));
    for (int v = 0; v < SeriesPageCount; ++v)
        for (int k = 0; k < SeriesBoxCount; ++k) ASSERT_EQ(Settings.FormSelection[v][k], Pattern(v, k, 1));

    ASSERT_NE(Open(), nullptr);
    for (int v = SeriesPageCount - 1; v >= 0; --v) {
        HWND page = Page(v);
        for (int k = 0; k < SeriesBoxCount; ++k)
            if (Checked(page, v, k) != (Pattern(v, k, 2) == 1)) Click(page, v, k);
    }
    EXPECT_TRUE(Press(PSBTN_OK));
    for (int v = 0; v < SeriesPageCount; ++v)
        for (int k = 0; k < SeriesBoxCount; ++k)
            EXPECT_EQ(Settings.FormSelection[v][k], Pattern(v, k, 2)) << "page " << v + 1 << " box " << k + 1;
}

// Pages never opened in a showing keep their voices' flags, even if the
// settings changed behind the sheet's back.
TEST_F(SeriesSheetTest, OkWritesOnlyThePagesOpenedInThisShowing)
{
    ASSERT_NE(Open(), nullptr);
    HWND seventh = Page(6);
    Click(seventh, 6, 10);
    Settings.FormSelection[8][5] = 1;   // voice 9: its page is never opened
    Settings.FormSelection[0][47] = 1;  // voice 1: its page shows what it read at opening
    EXPECT_TRUE(Press(PSBTN_OK));
    EXPECT_EQ(Settings.FormSelection[6][10], 1);
    EXPECT_EQ(Settings.FormSelection[8][5], 1);
    EXPECT_EQ(Settings.FormSelection[0][47], 0);
}

// The boxes stand in six columns of eight. The arrows move one row or column
// and stop at the edges; Home and End go to the row's ends, Page Up and Page
// Down to the column's. Keys reach the box as the sheet's loop passes them on.
TEST_F(SeriesSheetTest, KeysMoveTheFocusAlongRowsAndColumnsOfBoxes)
{
    ASSERT_NE(Open(), nullptr);
    HWND page = Page(3);
    SetFocus(Box(page, 3, 0));
    const std::pair<WPARAM, int> steps[] = {{VK_UP, 0},    {VK_LEFT, 0},  {VK_DOWN, 1},  {VK_RIGHT, 9},
                                            {VK_END, 41},  {VK_RIGHT, 41}, {VK_NEXT, 47}, {VK_DOWN, 47},
                                            {VK_HOME, 7},  {VK_PRIOR, 0}};
    for (const auto& step : steps) {
        PressDialogKey(window_, step.first);
        EXPECT_EQ(GetFocus(), Box(page, 3, step.second)) << "key " << step.first << " to box " << step.second;
    }
}

TEST_F(SeriesSheetTest, ShowSeriesSheetRunsTheSameSheetModally)
{
    DialogUser user("Series", [](HWND sheet) {
        PropSheet_SetCurSel(sheet, nullptr, 10);
        HWND page = PropSheet_GetCurrentPageHwnd(sheet);
        SendMessageA(GetDlgItem(page, SeriesBoxIds.Ids[10][0]), BM_SETCHECK, BST_CHECKED, 0);
        SendMessageA(GetDlgItem(page, SeriesBoxIds.Ids[10][47]), BM_SETCHECK, BST_CHECKED, 0);
        PropSheet_PressButton(sheet, PSBTN_OK);
    });
    ShowSeriesSheet(nullptr);
    EXPECT_TRUE(user.Seen());
    EXPECT_FALSE(DialogShowing("Series"));
    EXPECT_EQ(Settings.FormSelection[10][0], 1);
    EXPECT_EQ(Settings.FormSelection[10][47], 1);
    EXPECT_EQ(Settings.FormSelection[10][1], 0);
    EXPECT_EQ(Settings.FormSelection[0][0], 1);
}

}  // namespace
