// Every dialog of the resources as the system lays it out at the prefix's
// DPI; run by tests/win/at_dpi.sh at 96, 120, 144 and 192 DPI.
#include <gtest/gtest.h>

#include <windows.h>

#include "dialogs/dialogs_win32.h"
#include "settings/program_names.h"
#include "resources/resource.h"

static INT_PTR CALLBACK LayoutOnly(HWND, UINT message, WPARAM, LPARAM)
{
    return message == WM_INITDIALOG;
}

// The client area the template asks for, in pixels at this DPI. A screen
// too small for it clips the window (the Forms dialog at 192 DPI on the
// test's 1024 x 768 screen), not the template's layout.
static RECT TemplateClient(HWND dialog, HINSTANCE instance, int id)
{
    const WORD* words = (const WORD*)LockResource(
        LoadResource(instance, FindResourceA(instance, MAKEINTRESOURCEA(id), RT_DIALOG)));
    const bool extended = words[0] == 1 && words[1] == 0xFFFF;
    const WORD* size = words + (extended ? 11 : 7);  // cx, cy
    RECT client{0, 0, (LONG)size[0], (LONG)size[1]};
    MapDialogRect(dialog, &client);
    return client;
}

// Every template, the Series pages and dialogs that come later included.
TEST(DialogsAtEachDpi, EveryControlLiesInsideItsDialog)
{
    HINSTANCE instance = GetModuleHandleA(nullptr);
    // The pages are child windows: they need a parent.
    HWND host = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, instance, nullptr);
    int dialogs = 0;
    for (int id = 1; id <= 0xFFFF; ++id) {
        if (!FindResourceA(instance, MAKEINTRESOURCEA(id), RT_DIALOG)) continue;
        HWND dialog = CreateDialogParamA(instance, MAKEINTRESOURCEA(id), host, LayoutOnly, 0);
        ASSERT_NE(dialog, nullptr) << id;
        ++dialogs;
        RECT client = TemplateClient(dialog, instance, id), place;
        for (HWND control = GetWindow(dialog, GW_CHILD); control; control = GetWindow(control, GW_HWNDNEXT)) {
            GetWindowRect(control, &place);
            MapWindowPoints(HWND_DESKTOP, dialog, (POINT*)&place, 2);
            EXPECT_TRUE(place.left >= 0 && place.top >= 0 && place.right <= client.right &&
                        place.bottom <= client.bottom)
                << "dialog " << id << ", control " << GetDlgCtrlID(control);
        }
        DestroyWindow(dialog);
    }
    DestroyWindow(host);
    EXPECT_GE(dialogs, 22);
}

TEST(DialogsAtEachDpi, VoicesListsShowTheLongestInstrumentNameWhole)
{
    HWND dialog = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_VOICES), nullptr,
                                     VoicesDialogProc, 0);
    ASSERT_NE(dialog, nullptr);
    for (int id = IDC_INSTRUMENT_FIRST; id < IDC_INSTRUMENT_FIRST + 16; ++id) {
        HWND list = GetDlgItem(dialog, id);
        if (!list) continue;  // voice 10 has none
        HDC dc = GetDC(list);
        SelectObject(dc, (HFONT)SendMessageA(list, WM_GETFONT, 0, 0));
        SIZE text{}, name;
        for (const char* program : ProgramNameTable)
            if (GetTextExtentPoint32A(dc, program, lstrlenA(program), &name) && name.cx > text.cx) text = name;
        ReleaseDC(list, dc);
        RECT client;
        GetClientRect(list, &client);
        // A list box draws its text a pixel or two in from its left edge.
        EXPECT_LE(text.cx + 2, client.right) << "list " << id;
    }
    DestroyWindow(dialog);
}

// Both arrows of every duration list whole at this DPI, and only the list
// that has the keyboard shows its duration in the colours of a selection.
TEST(DialogsAtEachDpi, DurationListsShowBothArrowsWholeAndWhichHasTheKeyboard)
{
    HWND dialog = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_MATRIX), nullptr,
                                     MatrixDialogProc, 0);
    ASSERT_NE(dialog, nullptr);
    ShowWindow(dialog, SW_SHOW);
    HWND focused = GetDlgItem(dialog, IDC_DURATION_FIRST + 4);
    SetFocus(focused);
    UpdateWindow(dialog);
    for (int i = 0; i < 12; ++i) {
        HWND list = GetDlgItem(dialog, IDC_DURATION_FIRST + i);
        SCROLLBARINFO bar{sizeof bar, {}, 0, 0, 0, 0, {}};
        ASSERT_TRUE(GetScrollBarInfo(list, OBJID_VSCROLL, &bar));
        EXPECT_GE(bar.rcScrollBar.bottom - bar.rcScrollBar.top, 2 * GetSystemMetrics(SM_CYVSCROLL)) << "list " << i;
        RECT item{};
        SendMessageA(list, LB_GETITEMRECT, SendMessageA(list, LB_GETCURSEL, 0, 0), (LPARAM)&item);
        HDC dc = GetDC(list);
        COLORREF seen = GetPixel(dc, item.right - 3, item.top + 3);
        ReleaseDC(list, dc);
        EXPECT_EQ(seen == GetSysColor(COLOR_HIGHLIGHT), list == focused) << "list " << i;
    }
    DestroyWindow(dialog);
}
