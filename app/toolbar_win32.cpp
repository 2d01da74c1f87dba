// The toolbar: Save, Play and Stop, each routed like its menu twin.
#include <windows.h>
#include <commctrl.h>

#include "app/app_win32.h"
#include "app/main_window_win32.h"
#include "resources/resource.h"

#if defined(__i386__) || defined(_M_IX86)
static_assert(sizeof(TBBUTTON) == 20, "the button records are 20 bytes on 32-bit Windows");
#endif

enum { ButtonCount = 3, ButtonWidth = 16, ButtonHeight = 15 };

static TBBUTTON Buttons[ButtonCount] = {
    {0, IDB_BUTTON_SAVE, TBSTATE_ENABLED, TBSTYLE_BUTTON, {0}, 0, 0},
    {1, IDB_BUTTON_PLAY, TBSTATE_ENABLED, TBSTYLE_BUTTON, {0}, 0, 0},
    {2, IDB_BUTTON_STOP, TBSTATE_ENABLED, TBSTYLE_BUTTON, {0}, 0, 0},
};

HWND CreateMainToolbar(HWND window)
{
    InitCommonControls();
    // Tooltips: the buttons show no text, and a screen reader says a
    // button's tooltip as its name.
    const DWORD style = WS_CHILD | WS_VISIBLE | WS_BORDER | TBSTYLE_WRAPABLE | TBSTYLE_TOOLTIPS;
    MainToolbar = CreateToolbarEx(window, style, IDC_MAINTOOLBAR, ButtonCount, AppInstance, IDB_TOOLBAR, Buttons,
                                  ButtonCount, ButtonWidth, ButtonHeight, 0, 0, sizeof(TBBUTTON));
    // Nothing to save or play yet.
    SendMessageA(MainToolbar, TB_ENABLEBUTTON, IDB_BUTTON_SAVE, 0);
    SendMessageA(MainToolbar, TB_ENABLEBUTTON, IDB_BUTTON_PLAY, 0);
    SendMessageA(MainToolbar, TB_ENABLEBUTTON, IDB_BUTTON_STOP, 0);
    return MainToolbar;
}

// The string table holds each button's tooltip under the button's command id.
LRESULT AnswerToolbarNotice(NMHDR* notice)
{
    if (notice->code == TTN_GETDISPINFOA) {
        NMTTDISPINFOA* info = (NMTTDISPINFOA*)notice;
        info->hinst = AppInstance;
        info->lpszText = MAKEINTRESOURCEA(notice->idFrom);
    } else if (notice->code == TTN_GETDISPINFOW) {
        NMTTDISPINFOW* info = (NMTTDISPINFOW*)notice;
        info->hinst = AppInstance;
        info->lpszText = MAKEINTRESOURCEW(notice->idFrom);
    }
    return 0;
}
