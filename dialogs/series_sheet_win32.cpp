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

// No flags: the tab's title is the template's caption, with no icon and no callback.
static HPROPSHEETPAGE CreateSeriesPage(int voice)
{
    PROPSHEETPAGEA page;
    ZeroMemory(&page, sizeof page);
    page.dwSize = SeriesPageRecordSize;
    page.dwFlags = PSP_DEFAULT;
    page.hInstance = AppInstance;
    page.pszTemplate = MAKEINTRESOURCEA(PageTemplate(voice));
    page.pfnDlgProc = SeriesPageProcs[voice];
    return CreatePropertySheetPageA(&page);
}

void PrepareSeriesSheet(SeriesSheet& sheet, HWND owner)
{
    for (int v = 0; v < SeriesPageCount; ++v) sheet.Pages[v] = CreateSeriesPage(v);
    PROPSHEETHEADERA& header = sheet.Header;
    ZeroMemory(&header, sizeof header);
    header.dwSize = sizeof header;
    header.dwFlags = PSH_NOAPPLYNOW | PSH_USEICONID;
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
