#include "dialogs/series_sheet_win32.h"

#include "app/app_win32.h"
#include "dialogs/dialogs_win32.h"
#include "resources/resource.h"
#include "settings/settings.h"

#include <cstddef>

// The page record is the layout that ends with the header-title fields (what
// PROPSHEETPAGEA_V2_SIZE names, worked out here so it can be checked while
// compiling); the header is the one with watermark and header-bitmap fields.
static constexpr UINT SeriesPageRecordSize = offsetof(PROPSHEETPAGEA, pszHeaderSubTitle) + sizeof(LPCSTR);
#ifdef _WIN64
static_assert(SeriesPageRecordSize == 88, "page record of 88 bytes");
static_assert(sizeof(PROPSHEETHEADERA) == 96, "header record of 96 bytes");
#else
static_assert(SeriesPageRecordSize == 48, "page record of 48 bytes");
static_assert(sizeof(PROPSHEETHEADERA) == 52, "header record of 52 bytes");
#endif

static int PageTemplate(int voice)
{
    return voice == 0 ? IDD_SERIES_PAGE1 : IDD_SERIES_PAGE2 + voice - 1;
}

// The boxes stand in columns of eight, box k in column k / 8 and row k % 8.
enum { SeriesRows = 8, SeriesColumns = SeriesBoxCount / SeriesRows };

// The box a key leads to from box k: the arrows go one row or column, up to
// the grid's edge; Home and End go to the row's first and last column, Page
// Up and Page Down to the column's top and bottom. -1 for any other key.
// So any box is at most seven keys from any other.
static int BoxAfterKey(int k, WPARAM key)
{
    int column = k / SeriesRows, row = k % SeriesRows;
    switch (key) {
    case VK_UP: row -= row > 0; break;
    case VK_DOWN: row += row < SeriesRows - 1; break;
    case VK_LEFT: column -= column > 0; break;
    case VK_RIGHT: column += column < SeriesColumns - 1; break;
    case VK_HOME: column = 0; break;
    case VK_END: column = SeriesColumns - 1; break;
    case VK_PRIOR: row = 0; break;
    case VK_NEXT: row = SeriesRows - 1; break;
    default: return -1;
    }
    return column * SeriesRows + row;
}

// The check boxes' own procedure, the same for every box.
static WNDPROC CheckBoxProc;

// Moves the focus from the box by the key; false for a key that moves
// nothing. The page keeps its voice in its user data.
static bool MoveFocusByKey(HWND box, WPARAM key)
{
    HWND page = GetParent(box);
    const int voice = (int)GetWindowLongPtrA(page, DWLP_USER);
    for (int k = 0; k < SeriesBoxCount; ++k) {
        if (GetDlgItem(page, SeriesBoxIds.Ids[voice][k]) != box) continue;
        const int next = BoxAfterKey(k, key);
        if (next < 0) return false;
        SetFocus(GetDlgItem(page, SeriesBoxIds.Ids[voice][next]));
        return true;
    }
    return false;
}

// A box takes the arrow keys, which the dialog would move along the labels'
// order (down a column and on to the next), and the keys above. Keys with
// Ctrl go on to the sheet, which may turn the page with them.
static LRESULT CALLBACK MoveAcrossBoxes(HWND box, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_GETDLGCODE)
        return CallWindowProcA(CheckBoxProc, box, message, wParam, lParam) | DLGC_WANTARROWS;
    if (message == WM_KEYDOWN && GetKeyState(VK_CONTROL) >= 0 && MoveFocusByKey(box, wParam)) return 0;
    return CallWindowProcA(CheckBoxProc, box, message, wParam, lParam);
}

static void TakeGridKeys(HWND page, int voice)
{
    SetWindowLongPtrA(page, DWLP_USER, voice);
    for (int k = 0; k < SeriesBoxCount; ++k) {
        HWND box = GetDlgItem(page, SeriesBoxIds.Ids[voice][k]);
        CheckBoxProc = (WNDPROC)SetWindowLongPtrA(box, GWLP_WNDPROC, (LONG_PTR)MoveAcrossBoxes);
    }
}

static void ShowFlags(HWND page, int voice)
{
    for (int k = 0; k < SeriesBoxCount; ++k)
        SendMessageA(GetDlgItem(page, SeriesBoxIds.Ids[voice][k]), BM_SETCHECK,
                     Settings.FormSelection[voice][k] ? BST_CHECKED : BST_UNCHECKED, 0);
}

static void StoreFlags(HWND page, int voice)
{
    for (int k = 0; k < SeriesBoxCount; ++k)
        Settings.FormSelection[voice][k] =
            SendMessageA(GetDlgItem(page, SeriesBoxIds.Ids[voice][k]), BM_GETCHECK, 0, 0) == BST_CHECKED
                ? 1 : 0;
}

// One procedure per page, alike but for its voice. Every notification is
// answered with 0: the apply succeeds, and the sheet may leave, show or
// cancel the page as it pleases.
template <int Voice>
static INT_PTR CALLBACK SeriesPageProc(HWND page, UINT message, WPARAM, LPARAM lParam)
{
    if (message == WM_INITDIALOG) {
        ShowFlags(page, Voice);
        TakeGridKeys(page, Voice);
        return TRUE;
    }
    if (message != WM_NOTIFY) return FALSE;
    if (((const NMHDR*)lParam)->code == (UINT)PSN_APPLY) StoreFlags(page, Voice);
    SetWindowLongPtrA(page, DWLP_MSGRESULT, 0);
    return TRUE;
}

static const DLGPROC SeriesPageProcs[SeriesPageCount] = {
    SeriesPageProc<0>,  SeriesPageProc<1>,  SeriesPageProc<2>,  SeriesPageProc<3>,
    SeriesPageProc<4>,  SeriesPageProc<5>,  SeriesPageProc<6>,  SeriesPageProc<7>,
    SeriesPageProc<8>,  SeriesPageProc<9>,  SeriesPageProc<10>, SeriesPageProc<11>,
    SeriesPageProc<12>, SeriesPageProc<13>, SeriesPageProc<14>, SeriesPageProc<15>,
};

// The tabs show the voice's number alone, so that all sixteen fit in one
// row that never moves: tabs in several rows put the chosen tab's row at the
// bottom, swapping rows under the user as pages turn. The page itself keeps
// its template's caption, "Voice 1" to "Voice 16", which a screen reader
// says as the page's name.
static const char* const TabTitles[SeriesPageCount] = {"1", "2",  "3",  "4",  "5",  "6",  "7",  "8",
                                                       "9", "10", "11", "12", "13", "14", "15", "16"};

// No icon and no callback.
static HPROPSHEETPAGE CreateSeriesPage(int voice)
{
    PROPSHEETPAGEA page;
    ZeroMemory(&page, sizeof page);
    page.dwSize = SeriesPageRecordSize;
    page.dwFlags = PSP_USETITLE;
    page.pszTitle = TabTitles[voice];
    page.hInstance = AppInstance;
    page.pszTemplate = MAKEINTRESOURCEA(PageTemplate(voice));
    page.pfnDlgProc = SeriesPageProcs[voice];
    return CreatePropertySheetPageA(&page);
}

// The page area's top within the tab control.
static int PageAreaTop(HWND tabs)
{
    RECT area;
    GetClientRect(tabs, &area);
    TabCtrl_AdjustRect(tabs, FALSE, &area);
    return area.top;
}

// Once the sheet is made: its tabs keep to one row, as narrow as their
// numbers allow (a tab control's default least width fits a few per row);
// where even so they do not fit, arrows scroll the row. The room the sheet
// had made for more rows goes: the page and the buttons below the tabs move
// up by it, and the sheet shrinks.
static int CALLBACK KeepTabsInOneRow(HWND sheet, UINT message, LPARAM)
{
    if (message != PSCB_INITIALIZED) return 0;
    HWND tabs = PropSheet_GetTabControl(sheet);
    const int before = PageAreaTop(tabs);
    SendMessageA(tabs, TCM_SETMINTABWIDTH, 0, 0);
    SetWindowLongA(tabs, GWL_STYLE, GetWindowLongA(tabs, GWL_STYLE) & ~TCS_MULTILINE);
    const int gained = before - PageAreaTop(tabs);
    if (gained <= 0) return 0;
    RECT place;
    for (HWND child = GetWindow(sheet, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        GetWindowRect(child, &place);
        MapWindowPoints(nullptr, sheet, (POINT*)&place, 2);
        if (child == tabs)
            SetWindowPos(child, nullptr, 0, 0, place.right - place.left, place.bottom - place.top - gained,
                         SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        else
            SetWindowPos(child, nullptr, place.left, place.top - gained, 0, 0,
                         SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    GetWindowRect(sheet, &place);
    SetWindowPos(sheet, nullptr, 0, 0, place.right - place.left, place.bottom - place.top - gained,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    return 0;
}

void PrepareSeriesSheet(SeriesSheet& sheet, HWND owner)
{
    for (int v = 0; v < SeriesPageCount; ++v) sheet.Pages[v] = CreateSeriesPage(v);
    PROPSHEETHEADERA& header = sheet.Header;
    ZeroMemory(&header, sizeof header);
    header.dwSize = sizeof header;
    header.dwFlags = PSH_NOAPPLYNOW | PSH_USEICONID | PSH_USECALLBACK;
    header.pfnCallback = KeepTabsInOneRow;
    header.hwndParent = owner;
    header.hInstance = AppInstance;
    header.pszIcon = "SMALL";
    header.pszCaption = "Series";
    header.nPages = SeriesPageCount;
    header.nStartPage = 0;
    header.phpage = sheet.Pages;
}

// Pages are made afresh at every showing; the sheet destroys them when it closes.
void ShowSeriesSheet(HWND owner)
{
    SeriesSheet sheet;
    PrepareSeriesSheet(sheet, owner);
    PropertySheetA(&sheet.Header);
}
