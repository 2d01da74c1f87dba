// The Matrix dialog: the tone, duration and velocity rows, typed, picked from
// lists or drawn at random. OK writes them into the settings; T, D and V write
// their row at once.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstring>
#include <initializer_list>

#include "app/app_win32.h"
#include "app/dpi_win32.h"
#include "app/report_error.h"
#include "dialogs/dialogs_win32.h"
#include "dialogs/edit_check_win32.h"
#include "dialogs/field_check.h"
#include "dialogs/random_rows.h"
#include "resources/resource.h"
#include "settings/settings.h"

#ifndef WM_DPICHANGED
#define WM_DPICHANGED 0x02E0
#endif

enum { ToneChars = 2, VelocityChars = 3, MaxTone = 11, MaxVelocity = 127, FitListsForDpi = WM_APP + 1 };

// The most recent text of each edit that passed the check; put back when a
// change fails it. Each opening sets it afresh from the settings.
static char LastToneText[RowLength][ToneChars + 1];
static char LastVelocityText[RowLength][VelocityChars + 1];

static void ShowToneRow(HWND dialog)
{
    for (int32_t i = 0; i < RowLength; ++i)
        ShowEditValue(dialog, IDC_TONE_FIRST + i, Settings.ToneRow[i], LastToneText[i], ToneChars);
}

static void ShowVelocityRow(HWND dialog)
{
    for (int32_t i = 0; i < RowLength; ++i)
        ShowEditValue(dialog, IDC_VELOCITY_FIRST + i, Settings.VelocityRow[i], LastVelocityText[i], VelocityChars);
}

static void SelectDurationRow(HWND dialog)
{
    for (int32_t i = 0; i < RowLength; ++i)
        SendMessageA(GetDlgItem(dialog, IDC_DURATION_FIRST + i), LB_SETCURSEL, (WPARAM)Settings.DurationRow[i], 0);
}

static void FillDurationLists(HWND dialog)
{
    for (int32_t i = 0; i < RowLength; ++i) {
        HWND list = GetDlgItem(dialog, IDC_DURATION_FIRST + i);
        for (int32_t code = 0; code < DialogDurationCodeCount; ++code)
            SendMessageA(list, LB_ADDSTRING, 0, (LPARAM)DurationTable[code].Label);
    }
}

static void OpenMatrixDialog(HWND dialog)
{
    ShowToneRow(dialog);
    FillDurationLists(dialog);
    SelectDurationRow(dialog);
    ShowVelocityRow(dialog);
}

// The first edit from firstId on that is empty, or -1.
static int32_t FirstEmptyEdit(HWND dialog, int32_t firstId)
{
    for (int32_t i = 0; i < RowLength; ++i)
        if (GetWindowTextLengthA(GetDlgItem(dialog, firstId + i)) == 0) return i;
    return -1;
}

static void ReadEditsInto(HWND dialog, int32_t firstId, int32_t chars, int32_t* row)
{
    for (int32_t i = 0; i < RowLength; ++i) {
        char text[VelocityChars + 1];
        ReadLeadingText(GetDlgItem(dialog, firstId + i), text, chars);
        row[i] = FieldTextValue(text);
    }
}

static bool ReportEmpty(HWND dialog, int32_t firstId, const char* format)
{
    int32_t empty = FirstEmptyEdit(dialog, firstId);
    if (empty < 0) return false;
    char message[64];
    std::snprintf(message, sizeof message, format, (int)empty);
    ReportError(message);
    return true;
}

static void AcceptMatrixDialog(HWND dialog)
{
    if (ReportEmpty(dialog, IDC_TONE_FIRST, "ERROR: Invalid tone %d")) return;
    ReadEditsInto(dialog, IDC_TONE_FIRST, ToneChars, Settings.ToneRow);
    if (ReportEmpty(dialog, IDC_VELOCITY_FIRST, "ERROR: Invalid velocity %d")) return;
    ReadEditsInto(dialog, IDC_VELOCITY_FIRST, VelocityChars, Settings.VelocityRow);
    for (int32_t i = 0; i < RowLength; ++i)
        Settings.DurationRow[i] =
            (int32_t)SendMessageA(GetDlgItem(dialog, IDC_DURATION_FIRST + i), LB_GETCURSEL, 0, 0);
    EndDialog(dialog, 0);
}

static void HandleCommand(HWND dialog, int32_t id, int32_t code, HWND control)
{
    if (code == EN_UPDATE && id >= IDC_TONE_FIRST && id < IDC_TONE_FIRST + RowLength) {
        CheckEditChange(control, LastToneText[id - IDC_TONE_FIRST], ToneChars, MaxTone);
    } else if (code == EN_UPDATE && id >= IDC_VELOCITY_FIRST && id < IDC_VELOCITY_FIRST + RowLength) {
        CheckEditChange(control, LastVelocityText[id - IDC_VELOCITY_FIRST], VelocityChars, MaxVelocity);
    } else if (code != BN_CLICKED) {
        return;
    } else if (id == IDOK) {
        AcceptMatrixDialog(dialog);
    } else if (id == IDCANCEL) {
        EndDialog(dialog, 0);
    } else if (id == IDC_RANDOM_TONES) {
        DrawRandomToneRow();
        StoreToneWorkRow();
        ShowToneRow(dialog);
    } else if (id == IDC_RANDOM_DURATIONS) {
        DrawRandomDurationRow();
        StoreDurationWorkRow();
        SelectDurationRow(dialog);
    } else if (id == IDC_RANDOM_VELOCITIES) {
        DrawRandomVelocityRow();
        StoreVelocityWorkRow();
        ShowVelocityRow(dialog);
    }
}

// ---- The duration lists: two lines each, as tall as the scroll bar's
// arrows at the dialog's DPI, so that both arrows show whole; only the list
// that has the keyboard shows its duration in the colours of a selection.

static bool IsDurationList(int id)
{
    return id >= IDC_DURATION_FIRST && id < IDC_DURATION_FIRST + RowLength;
}

// A line holds the dialog's text and one scroll arrow.
static int DurationLineHeight(HWND dialog)
{
    HDC dc = GetDC(dialog);
    HGDIOBJ before = SelectObject(dc, (HGDIOBJ)SendMessageA(dialog, WM_GETFONT, 0, 0));
    TEXTMETRICA metrics{};
    GetTextMetricsA(dc, &metrics);
    SelectObject(dc, before);
    ReleaseDC(dialog, dc);
    int arrow = SystemMetricForDpi(SM_CYVSCROLL, DpiOfWindow(dialog));
    return metrics.tmHeight + 2 > arrow ? metrics.tmHeight + 2 : arrow;
}

static void FitDurationLists(HWND dialog)
{
    const int line = DurationLineHeight(dialog);
    for (int32_t i = 0; i < RowLength; ++i) {
        HWND list = GetDlgItem(dialog, IDC_DURATION_FIRST + i);
        SendMessageA(list, LB_SETITEMHEIGHT, 0, line);
        RECT window, client;
        GetWindowRect(list, &window);
        GetClientRect(list, &client);
        int frame = (window.bottom - window.top) - client.bottom;
        SetWindowPos(list, nullptr, 0, 0, window.right - window.left, 2 * line + frame,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        // The chosen duration stays in view.
        SendMessageA(list, LB_SETCURSEL, SendMessageA(list, LB_GETCURSEL, 0, 0), 0);
    }
}

static void DrawDurationItem(const DRAWITEMSTRUCT& item)
{
    if (item.itemID == (UINT)-1) return;
    const bool selected = (item.itemState & ODS_SELECTED) != 0;
    const bool focused = GetFocus() == item.hwndItem;
    const int back = !selected ? COLOR_WINDOW : focused ? COLOR_HIGHLIGHT : COLOR_BTNFACE;
    FillRect(item.hDC, &item.rcItem, GetSysColorBrush(back));
    char text[16] = "";
    if (SendMessageA(item.hwndItem, LB_GETTEXTLEN, item.itemID, 0) < (LRESULT)sizeof text)
        SendMessageA(item.hwndItem, LB_GETTEXT, item.itemID, (LPARAM)text);
    RECT place = item.rcItem;
    place.left += 2;
    SetBkMode(item.hDC, TRANSPARENT);
    SetTextColor(item.hDC, GetSysColor(selected && focused ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    DrawTextA(item.hDC, text, -1, &place, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    if (focused && (item.itemState & ODS_FOCUS) && !(item.itemState & ODS_NOFOCUSRECT))
        DrawFocusRect(item.hDC, &item.rcItem);
}

// T, D and V show only the letter before the colon of their text; the whole
// text is what a screen reader says of them.
static void DrawRandomButton(const DRAWITEMSTRUCT& item)
{
    RECT place = item.rcItem;
    const bool pushed = (item.itemState & ODS_SELECTED) != 0;
    DrawFrameControl(item.hDC, &place, DFC_BUTTON, DFCS_BUTTONPUSH | (pushed ? DFCS_PUSHED : 0));
    char text[32] = "";
    GetWindowTextA(item.hwndItem, text, sizeof text);
    const char* colon = std::strchr(text, ':');
    const int letters = colon ? (int)(colon - text) : lstrlenA(text);
    if (pushed) OffsetRect(&place, 1, 1);
    HGDIOBJ font = SelectObject(item.hDC, (HGDIOBJ)SendMessageA(item.hwndItem, WM_GETFONT, 0, 0));
    SetBkMode(item.hDC, TRANSPARENT);
    SetTextColor(item.hDC, GetSysColor(COLOR_BTNTEXT));
    DrawTextA(item.hDC, text, letters, &place, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    SelectObject(item.hDC, font);
    if ((item.itemState & ODS_FOCUS) && !(item.itemState & ODS_NOFOCUSRECT)) {
        InflateRect(&place, -2, -2);
        DrawFocusRect(item.hDC, &place);
    }
}

// The eye meets the same names as tooltips over the three small buttons. The
// tooltip window belongs to the dialog and goes with it.
static void AddRandomButtonTips(HWND dialog)
{
    HWND tips = CreateWindowExA(0, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT,
                                CW_USEDEFAULT, CW_USEDEFAULT, dialog, nullptr, AppInstance, nullptr);
    for (int id : {IDC_RANDOM_TONES, IDC_RANDOM_DURATIONS, IDC_RANDOM_VELOCITIES}) {
        char text[32] = "";
        GetDlgItemTextA(dialog, id, text, sizeof text);
        TOOLINFOA tool{};
        tool.cbSize = TTTOOLINFOA_V1_SIZE;
        tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        tool.hwnd = dialog;
        tool.uId = (UINT_PTR)GetDlgItem(dialog, id);
        tool.lpszText = text;
        SendMessageA(tips, TTM_ADDTOOLA, 0, (LPARAM)&tool);
    }
}

INT_PTR CALLBACK MatrixDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG) {
        FitDurationLists(dialog);
        OpenMatrixDialog(dialog);
        AddRandomButtonTips(dialog);
        // The first tone, not T: a Space there would draw a new row at once.
        HWND firstTone = GetDlgItem(dialog, IDC_TONE_FIRST);
        SetFocus(firstTone);
        SendMessageA(firstTone, EM_SETSEL, 0, -1);
        return FALSE;
    }
    if (message == WM_MEASUREITEM && IsDurationList((int)wParam)) {
        ((MEASUREITEMSTRUCT*)lParam)->itemHeight = (UINT)DurationLineHeight(dialog);
        return TRUE;
    }
    if (message == WM_DRAWITEM) {
        const DRAWITEMSTRUCT& item = *(const DRAWITEMSTRUCT*)lParam;
        if (item.CtlType == ODT_LISTBOX)
            DrawDurationItem(item);
        else
            DrawRandomButton(item);
        return TRUE;
    }
    // Newer systems scale the dialog for a screen of another DPI; the lists'
    // lines follow once they have.
    if (message == WM_DPICHANGED) {
        PostMessageA(dialog, FitListsForDpi, 0, 0);
        return FALSE;
    }
    if (message == FitListsForDpi) {
        FitDurationLists(dialog);
        return TRUE;
    }
    if (message == WM_COMMAND) {
        HandleCommand(dialog, LOWORD(wParam), HIWORD(wParam), (HWND)lParam);
        return TRUE;
    }
    return FALSE;
}

void ShowMatrixDialog(HWND owner)
{
    DialogBoxParamA(AppInstance, MAKEINTRESOURCEA(IDD_MATRIX), owner, MatrixDialogProc, 0);
}
