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

enum { ButtonCount = 3, ButtonWidth = 16, ButtonHeight = 16 };

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

// Made here for the toolbar, which does not destroy them: the glyphs of
// enabled buttons and those of disabled ones.
static HIMAGELIST ToolbarImages[2];

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

// The glyphs of one size with their colours mapped, the face around each
// glyph letting the button show through.
static HIMAGELIST MappedGlyphs(int glyphs, COLORMAP* map, int mapSize)
{
    int size = Glyphs[glyphs].Size;
    HBITMAP bitmap = CreateMappedBitmap(AppInstance, Glyphs[glyphs].Bitmap, 0, map, mapSize);
    HIMAGELIST images = ImageList_Create(size, size, ILC_COLOR24 | ILC_MASK, ButtonCount, 0);
    ImageList_AddMasked(images, bitmap, GetSysColor(COLOR_BTNFACE));
    DeleteObject(bitmap);
    return images;
}

void FitToolbarToDpi(UINT dpi)
{
    int glyphs = NearestGlyphs(dpi);
    int size = Glyphs[glyphs].Size;
    // Enabled, mapped as the toolbar maps the bitmaps it loads itself: black,
    // dark grey, light grey and white become the user's button text, shadow,
    // face and highlight colours. Disabled, the glyph in the colour of
    // disabled text: the toolbar's own greying leaves out the white parts,
    // and in High Contrast Black the glyphs are all white.
    COLORMAP disabled[] = {{RGB(0, 0, 0), GetSysColor(COLOR_GRAYTEXT)},
                           {RGB(128, 128, 128), GetSysColor(COLOR_GRAYTEXT)},
                           {RGB(192, 192, 192), GetSysColor(COLOR_BTNFACE)},
                           {RGB(255, 255, 255), GetSysColor(COLOR_BTNFACE)}};
    HIMAGELIST images[2] = {MappedGlyphs(glyphs, nullptr, 0), MappedGlyphs(glyphs, disabled, 4)};
    SendMessageA(MainToolbar, TB_SETIMAGELIST, 0, (LPARAM)images[0]);
    SendMessageA(MainToolbar, TB_SETDISABLEDIMAGELIST, 0, (LPARAM)images[1]);
    for (int i = 0; i < 2; ++i) {
        if (ToolbarImages[i]) ImageList_Destroy(ToolbarImages[i]);
        ToolbarImages[i] = images[i];
    }
    // Around the glyph, the room a button has at 96 DPI, scaled.
    SendMessageA(MainToolbar, TB_SETBUTTONSIZE, 0,
                 MAKELPARAM(size + ScaleForDpi(8, dpi), size + ScaleForDpi(7, dpi)));
    SendMessageA(MainToolbar, TB_AUTOSIZE, 0, 0);
}

HWND CreateMainToolbar(HWND window)
{
    InitCommonControls();
    // Tooltips: the buttons show no text, and a screen reader says a
    // button's tooltip as its name.
    const DWORD style = WS_CHILD | WS_VISIBLE | WS_BORDER | TBSTYLE_WRAPABLE | TBSTYLE_TOOLTIPS;
    MainToolbar = CreateToolbarEx(window, style, IDC_MAINTOOLBAR, ButtonCount, AppInstance, IDB_TOOLBAR, Buttons,
                                  ButtonCount, ButtonWidth, ButtonHeight, 0, 0, sizeof(TBBUTTON));
    FitToolbarToDpi(MainWindowDpi);
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
