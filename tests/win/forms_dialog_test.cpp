// The Forms dialog from its real template: its text in a fixed-pitch font of
// the system's size, a dialog that fits the main window's first size, and a
// text area that follows the dialog's size and DPI.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>

#include "dialogs/dialogs_win32.h"
#include "engine/compose.h"
#include "engine/random.h"
#include "resources/resource.h"
#include "tests/win/support/dialog_user.h"
#include "tests/win/support/template_dialog.h"

namespace {

class FormsDialog : public TemplateDialogTest {
protected:
    FormsDialog() : TemplateDialogTest(IDD_FORMS, FormsDialogProc) {}
    HWND Text() { return GetDlgItem(dialog_, IDC_FORMS_TEXT); }
    LONG TextHeight()
    {
        LOGFONTA font{};
        GetObjectA((HFONT)SendMessageA(Text(), WM_GETFONT, 0, 0), sizeof font, &font);
        EXPECT_EQ(font.lfPitchAndFamily & 3, FIXED_PITCH);
        return std::labs(font.lfHeight);
    }
    bool HorizontalBar() { return (GetWindowLongA(Text(), GWL_STYLE) & WS_HSCROLL) != 0; }
    RECT Place(int id)
    {
        RECT place;
        GetWindowRect(GetDlgItem(dialog_, id), &place);
        MapWindowPoints(nullptr, dialog_, (POINT*)&place, 2);
        return place;
    }
};

}  // namespace

TEST_F(FormsDialog, ItsTextIsOfTheSystemsSizeAndFollowsTheDialogsSizeAndDpi)
{
    DrawRandomPool();
    Compose();
    ASSERT_NE(Open(), nullptr);
    NONCLIENTMETRICSA metrics{};
    metrics.cbSize = offsetof(NONCLIENTMETRICSA, lfMessageFont) + sizeof(LOGFONTA);
    ASSERT_TRUE(SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0));
    const LONG systemHeight = std::labs(metrics.lfMessageFont.lfHeight);  // the test runs at 96 DPI
    EXPECT_EQ(TextHeight(), systemHeight);
    RECT window;
    GetWindowRect(dialog_, &window);
    EXPECT_LE(window.right - window.left, 768);  // the main window's first size on a 1024 x 768 screen
    EXPECT_LE(window.bottom - window.top, 576);
    EXPECT_FALSE(HorizontalBar());

    // As narrow as it goes, the row of controls whole below the text; wider
    // and taller, the text area and the row follow.
    SetWindowPos(dialog_, nullptr, 0, 0, 200, 100, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_LT(Place(IDC_FORMS_STOP).right, Place(IDOK).left);
    EXPECT_LT(Place(IDC_FORMS_TEXT).bottom, Place(IDOK).top);
    SetWindowPos(dialog_, nullptr, 0, 0, 1000, 700, SWP_NOMOVE | SWP_NOZORDER);
    RECT client;
    GetClientRect(dialog_, &client);
    EXPECT_GT(Place(IDC_FORMS_TEXT).right, client.right - 20);
    EXPECT_GT(Place(IDOK).bottom, client.bottom - 20);

    // On a screen of twice the DPI, a font twice as tall, too wide for the
    // text area, which scrolls sideways until the DPI is back. Each font
    // given up is freed, the last when the dialog closes.
    HFONT before = (HFONT)SendMessageA(Text(), WM_GETFONT, 0, 0);
    GetWindowRect(dialog_, &window);
    SendMessageA(dialog_, WM_DPICHANGED, MAKEWPARAM(192, 192), (LPARAM)&window);
    PumpMessages();
    EXPECT_EQ(TextHeight(), 2 * systemHeight);
    EXPECT_TRUE(HorizontalBar());
    LOGFONTA font;
    EXPECT_EQ(GetObjectA(before, sizeof font, &font), 0);
    SendMessageA(dialog_, WM_DPICHANGED, MAKEWPARAM(96, 96), (LPARAM)&window);
    PumpMessages();
    EXPECT_FALSE(HorizontalBar());
    HFONT last = (HFONT)SendMessageA(Text(), WM_GETFONT, 0, 0);
    TearDown();
    EXPECT_EQ(GetObjectA(last, sizeof font, &font), 0);
}

// A second dialog opened while the first is still ending (Play's error box,
// which has no owner, lets the user close and reopen it): when the first is
// destroyed, the second keeps its font.
TEST_F(FormsDialog, ADialogOpenedWhileAnotherEndsKeepsItsOwnFont)
{
    DrawRandomPool();
    Compose();
    ASSERT_NE(Open(), nullptr);
    HWND second = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_FORMS), nullptr,
                                     FormsDialogProc, 0);
    ASSERT_NE(second, nullptr);
    TearDown();
    HFONT font = (HFONT)SendDlgItemMessageA(second, IDC_FORMS_TEXT, WM_GETFONT, 0, 0);
    LOGFONTA seen;
    EXPECT_NE(GetObjectA(font, sizeof seen, &seen), 0) << "the first dialog freed the second's font";
    DestroyWindow(second);
}
