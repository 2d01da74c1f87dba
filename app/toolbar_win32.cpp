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
    MainToolbar = CreateToolbarEx(window, WS_CHILD | WS_VISIBLE | WS_BORDER | TBSTYLE_WRAPABLE, IDC_MAINTOOLBAR,
                                  ButtonCount, AppInstance, IDB_TOOLBAR, Buttons, ButtonCount, ButtonWidth,
                                  ButtonHeight, 0, 0, sizeof(TBBUTTON));
    // Nothing to save or play yet.
    SendMessageA(MainToolbar, TB_ENABLEBUTTON, IDB_BUTTON_SAVE, 0);
    SendMessageA(MainToolbar, TB_ENABLEBUTTON, IDB_BUTTON_PLAY, 0);
    SendMessageA(MainToolbar, TB_ENABLEBUTTON, IDB_BUTTON_STOP, 0);
    return MainToolbar;
}
