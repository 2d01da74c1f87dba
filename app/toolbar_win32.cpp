// The toolbar: Save, Play and Stop, each routed like its menu twin, with
// glyphs drawn for the window's DPI.
#include <windows.h>
#include <commctrl.h>

#include <cstdlib>

#include "app/app_win32.h"
#include "app/dpi_win32.h"
#include "app/main_window_win32.h"
#include "resources/resource.h"

#if defined(__i386__) || defined(_M_IX86)
static_assert(sizeof(TBBUTTON) == 20, "the button records are 20 bytes on 32-bit Windows");
#endif

enum { ButtonCount = 3 };

static TBBUTTON Buttons[ButtonCount] = {
    {0, IDB_BUTTON_SAVE, TBSTATE_ENABLED, TBSTYLE_BUTTON, {0}, 0, 0},
    {1, IDB_BUTTON_PLAY, TBSTATE_ENABLED, TBSTYLE_BUTTON, {0}, 0, 0},
    {2, IDB_BUTTON_STOP, TBSTATE_ENABLED, TBSTYLE_BUTTON, {0}, 0, 0},
};

// The sizes the glyphs are drawn in (scripts/make-toolbar-bitmap.py),
// smallest first: 16 pixels at 96 DPI, and larger ones for higher DPIs.
static const struct {
    int Size;
    int Bitmap;
} Glyphs[] = {{16, IDB_TOOLBAR}, {20, IDB_TOOLBAR_20}, {24, IDB_TOOLBAR_24}, {32, IDB_TOOLBAR_32}};
enum { GlyphSizeCount = sizeof Glyphs / sizeof Glyphs[0] };

// Made here for the toolbar, which does not destroy it: the glyphs of
// disabled buttons, kept until the toolbar that shows them is gone. Those of
// enabled ones the toolbar loads and keeps itself.
static HIMAGELIST DisabledImages;

// The drawn size nearest to 16 pixels scaled for the DPI; of two as near,
// the smaller. Compared at 96 times their size, so that no rounding decides.
static int NearestGlyphs(UINT dpi)
{
    int wanted = 16 * (int)dpi;
    int best = 0;
    for (int i = 1; i < GlyphSizeCount; ++i)
        if (std::abs(Glyphs[i].Size * BaseDpi - wanted) < std::abs(Glyphs[best].Size * BaseDpi - wanted)) best = i;
    return best;
}

// The glyphs of disabled buttons in the colour of disabled text, the face
// around each letting the button show through: the toolbar's own greying
// leaves out the white parts, and in High Contrast Black the glyphs are all
// white.
static HIMAGELIST DisabledGlyphs(int glyphs)
{
    COLORMAP map[] = {{RGB(0, 0, 0), GetSysColor(COLOR_GRAYTEXT)},
                      {RGB(128, 128, 128), GetSysColor(COLOR_GRAYTEXT)},
                      {RGB(192, 192, 192), GetSysColor(COLOR_BTNFACE)},
                      {RGB(255, 255, 255), GetSysColor(COLOR_BTNFACE)}};
    int size = Glyphs[glyphs].Size;
    HBITMAP bitmap = CreateMappedBitmap(AppInstance, Glyphs[glyphs].Bitmap, 0, map, 4);
    HIMAGELIST images = ImageList_Create(size, size, ILC_COLOR24 | ILC_MASK, ButtonCount, 0);
    ImageList_AddMasked(images, bitmap, GetSysColor(COLOR_BTNFACE));
    DeleteObject(bitmap);
    return images;
}

// The toolbar is made with the glyphs drawn nearest to the DPI's size: it
// loads them itself, mapping black, dark grey, light grey and white to the
// user's button text, shadow, face and highlight colours, as it does again
// when told that the colours changed. Around the glyph, the room a button
// has at 96 DPI, scaled. The buttons keep the given enabled states.
static HWND MakeToolbar(HWND window, UINT dpi, const bool enabled[ButtonCount])
{
    // Tooltips: the buttons show no text, and a screen reader says a
    // button's tooltip as its name.
    const DWORD style = WS_CHILD | WS_VISIBLE | WS_BORDER | TBSTYLE_WRAPABLE | TBSTYLE_TOOLTIPS;
    const int glyphs = NearestGlyphs(dpi), size = Glyphs[glyphs].Size;
    // Its button size is taken as the size of the images, as Windows has
    // always done: the buttons get their room afterwards.
    HWND toolbar = CreateToolbarEx(window, style, IDC_MAINTOOLBAR, ButtonCount, AppInstance, Glyphs[glyphs].Bitmap,
                                   Buttons, ButtonCount, size, size, size, size, sizeof(TBBUTTON));
    SendMessageA(toolbar, TB_SETBUTTONSIZE, 0, MAKELPARAM(size + ScaleForDpi(8, dpi), size + ScaleForDpi(7, dpi)));
    DisabledImages = DisabledGlyphs(glyphs);
    SendMessageA(toolbar, TB_SETDISABLEDIMAGELIST, 0, (LPARAM)DisabledImages);
    for (int i = 0; i < ButtonCount; ++i)
        SendMessageA(toolbar, TB_ENABLEBUTTON, Buttons[i].idCommand, enabled[i] ? 1 : 0);
    SendMessageA(toolbar, TB_AUTOSIZE, 0, 0);
    return toolbar;
}

// Play and Stop as the menu has them. A piece that ends while the toolbar is
// made anew is shown from the timer's thread, which changes the menu first
// and then tells the toolbar it finds, maybe the old one, which is gone
// before it reads the message.
static void FollowMenuPlayState(HWND toolbar)
{
    HMENU menu = GetMenu(GetParent(toolbar));
    const UINT pairs[2][2] = {{IDM_PLAY, IDB_BUTTON_PLAY}, {IDM_STOP, IDB_BUTTON_STOP}};
    for (const UINT* pair : pairs) {
        UINT state = GetMenuState(menu, pair[0], MF_BYCOMMAND);
        if (state != (UINT)-1) SendMessageA(toolbar, TB_ENABLEBUTTON, pair[1], (state & MF_GRAYED) ? 0 : 1);
    }
}

// A toolbar takes the size of its images when it is made, and may take
// them from its bitmap again when the colours change: for another DPI, or
// other colours, it is made anew, its buttons as they were.
void FitToolbarToDpi(UINT dpi)
{
    HWND old = MainToolbar;
    HIMAGELIST oldDisabled = DisabledImages;
    bool enabled[ButtonCount];
    for (int i = 0; i < ButtonCount; ++i)
        enabled[i] = SendMessageA(old, TB_ISBUTTONENABLED, Buttons[i].idCommand, 0) != 0;
    MainToolbar = MakeToolbar(GetParent(old), dpi, enabled);
    FollowMenuPlayState(MainToolbar);
    DestroyWindow(old);
    ImageList_Destroy(oldDisabled);
}

HWND CreateMainToolbar(HWND window)
{
    InitCommonControls();
    // Nothing to save or play yet.
    const bool enabled[ButtonCount] = {false, false, false};
    if (DisabledImages) ImageList_Destroy(DisabledImages);  // a window's before this one
    MainToolbar = MakeToolbar(window, MainWindowDpi, enabled);
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
