// The Forms dialog: what the row is, the matrix and the plan of the last
// Compose in a read-only text in a fixed-pitch font, to read, select and
// copy; and any of the 48 forms played alone, as a voice of the piece plays
// it. It changes nothing in the piece; of the settings, only how pitches
// are named.
#include <windows.h>

#include <atomic>
#include <cstddef>
#include <cstdio>
#include <initializer_list>

#include "app/app_win32.h"
#include "app/dpi_win32.h"
#include "dialogs/dialogs_win32.h"
#include "dialogs/forms_text.h"
#include "events/events.h"
#include "midi/playback.h"
#include "resources/resource.h"
#include "settings/pitch_names.h"
#include "settings/settings.h"

#ifndef WM_DPICHANGED
#define WM_DPICHANGED 0x02E0
#endif

enum { PlaybackChanged = WM_APP + 1, FontForNewDpi, MinimumTextLines = 6 };

static char FormsText[FormsTextSize];
static std::atomic<HWND> OpenDialog;    // told from the timer thread when playback starts or ends

// What each dialog has of its own: one opened while another is still ending
// (its Play's error box, which has no owner, still up) shares none of it.
struct FormsWindow {
    HFONT TextFont;
    int32_t TextWidth;  // pixels of the text's widest line in TextFont
};
static const FormsWindow NoFont = {};  // before the dialog's own is made

static const FormsWindow& Own(HWND dialog)
{
    const FormsWindow* own = (const FormsWindow*)GetWindowLongPtrA(dialog, DWLP_USER);
    return own ? *own : NoFont;
}

static FormsWindow* OwnToChange(HWND dialog)
{
    return (FormsWindow*)GetWindowLongPtrA(dialog, DWLP_USER);
}

// The system's edit control copies with Ctrl+C but selects nothing on Ctrl+A
// (the character 1): here Ctrl+A selects the whole text. The edit's own
// procedure answers everything else.
static WNDPROC EditProc;

static LRESULT CALLBACK SelectAllOnCtrlA(HWND edit, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message != WM_CHAR || wParam != 1) return CallWindowProcA(EditProc, edit, message, wParam, lParam);
    SendMessageA(edit, EM_SETSEL, 0, -1);
    return 0;
}

// ---- The font: fixed pitch, as tall as the system's message font, for the
// DPI of the screen the dialog is on (CreateFixedMessageFont).

static void MeasureText(HWND edit)
{
    FormsWindow* own = OwnToChange(GetParent(edit));
    HDC dc = GetDC(edit);
    HGDIOBJ before = SelectObject(dc, own->TextFont);
    own->TextWidth = 0;
    for (const char* line = FormsText; *line;) {
        const char* end = line;
        while (*end && *end != '\r' && *end != '\n') ++end;
        SIZE size{};
        GetTextExtentPoint32A(dc, line, (int)(end - line), &size);
        if (size.cx > own->TextWidth) own->TextWidth = size.cx;
        line = end;
        while (*line == '\r' || *line == '\n') ++line;
    }
    SelectObject(dc, before);
    ReleaseDC(edit, dc);
}

// The width of the edit's client area that shows the widest line whole,
// with the edit's margins and room for the caret.
static int32_t TextClientWidth(HWND edit)
{
    DWORD margins = (DWORD)SendMessageA(edit, EM_GETMARGINS, 0, 0);
    return Own(GetParent(edit)).TextWidth + LOWORD(margins) + HIWORD(margins) + 2;
}

// ---- The text area

static void FillTextControl(HWND edit)
{
    EditProc = (WNDPROC)SetWindowLongPtrA(edit, GWLP_WNDPROC, (LONG_PTR)SelectAllOnCtrlA);
    SendMessageA(edit, WM_SETFONT, (WPARAM)Own(GetParent(edit)).TextFont, FALSE);
    SetWindowTextA(edit, FormsText);
}

static RECT PlaceOf(HWND control, HWND dialog)
{
    RECT place;
    GetWindowRect(control, &place);
    MapWindowPoints(nullptr, dialog, (POINT*)&place, 2);
    return place;
}

// An edit control takes its horizontal scroll bar only when it is made, and
// shows it also where every line fits: the text area is made again, with or
// without the bar, when its need changes. The new one takes the old one's
// place in the tab order, its selection, scroll position and focus.
static void RemakeTextControl(HWND dialog, bool withBar)
{
    HWND old = GetDlgItem(dialog, IDC_FORMS_TEXT);
    LONG style = GetWindowLongA(old, GWL_STYLE);
    style = withBar ? style | WS_HSCROLL : style & ~WS_HSCROLL;
    RECT place = PlaceOf(old, dialog);
    HWND edit = CreateWindowExA(GetWindowLongA(old, GWL_EXSTYLE), "EDIT", "", style, place.left, place.top,
                                place.right - place.left, place.bottom - place.top, dialog,
                                (HMENU)(INT_PTR)IDC_FORMS_TEXT, AppInstance, nullptr);
    if (!edit) return;
    SetWindowPos(edit, old, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    FillTextControl(edit);
    DWORD from = 0, to = 0;
    SendMessageA(old, EM_GETSEL, (WPARAM)&from, (LPARAM)&to);
    SendMessageA(edit, EM_SETSEL, from, to);
    SendMessageA(edit, EM_LINESCROLL, 0, SendMessageA(old, EM_GETFIRSTVISIBLELINE, 0, 0));
    if (GetFocus() == old) SetFocus(edit);
    DestroyWindow(old);
}

static void FitHorizontalBar(HWND dialog)
{
    HWND edit = GetDlgItem(dialog, IDC_FORMS_TEXT);
    RECT client;
    GetClientRect(edit, &client);
    bool has = (GetWindowLongA(edit, GWL_STYLE) & WS_HSCROLL) != 0;
    bool needs = TextClientWidth(edit) > client.right;
    if (has != needs) RemakeTextControl(dialog, needs);
}

// ---- Layout: the text area fills the dialog above the row of controls,
// which keeps to the bottom; Close keeps to the bottom right, the pitch
// names to the top right.

static RECT Margins(HWND dialog)
{
    RECT margins{7, 7, 7, 7};  // dialog units, the same across and down
    MapDialogRect(dialog, &margins);
    return margins;
}

static void Move(HWND control, int x, int y)
{
    SetWindowPos(control, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

static void LayOut(HWND dialog)
{
    if (!Own(dialog).TextFont) return;  // before the controls are made
    RECT client, margins = Margins(dialog);
    GetClientRect(dialog, &client);
    HWND close = GetDlgItem(dialog, IDOK);
    RECT closePlace = PlaceOf(close, dialog);
    int rowTop = client.bottom - margins.bottom - (closePlace.bottom - closePlace.top);
    int down = rowTop - closePlace.top;
    for (int id : {IDC_FORMS_FORM_LABEL, IDC_FORMS_FORM, IDC_FORMS_VOICE_LABEL, IDC_FORMS_VOICE, IDC_FORMS_PLAY,
                   IDC_FORMS_STOP}) {
        RECT place = PlaceOf(GetDlgItem(dialog, id), dialog);
        Move(GetDlgItem(dialog, id), place.left, place.top + down);
    }
    Move(close, client.right - margins.right - (closePlace.right - closePlace.left), rowTop);
    RECT names = PlaceOf(GetDlgItem(dialog, IDC_FORMS_NAMES), dialog);
    int across = client.right - margins.right - names.right;
    for (int id : {IDC_FORMS_NAMES_LABEL, IDC_FORMS_NAMES}) {
        RECT place = PlaceOf(GetDlgItem(dialog, id), dialog);
        Move(GetDlgItem(dialog, id), place.left + across, place.top);
    }
    HWND edit = GetDlgItem(dialog, IDC_FORMS_TEXT);
    RECT text = PlaceOf(edit, dialog);
    SetWindowPos(edit, nullptr, 0, 0, client.right - margins.right - text.left, rowTop - margins.top - text.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    FitHorizontalBar(dialog);
    InvalidateRect(dialog, nullptr, TRUE);
}

// The dialog's frame around a client area of the given size.
static SIZE FrameAround(HWND dialog, int width, int height)
{
    RECT window, client;
    GetWindowRect(dialog, &window);
    GetClientRect(dialog, &client);
    return SIZE{width + (window.right - window.left) - client.right,
                height + (window.bottom - window.top) - client.bottom};
}

// Narrowest: the row of controls with Close beside Stop. Lowest: a few lines
// of text above the row.
static SIZE SmallestSize(HWND dialog)
{
    RECT margins = Margins(dialog);
    RECT stop = PlaceOf(GetDlgItem(dialog, IDC_FORMS_STOP), dialog);
    RECT close = PlaceOf(GetDlgItem(dialog, IDOK), dialog);
    RECT text = PlaceOf(GetDlgItem(dialog, IDC_FORMS_TEXT), dialog);
    TEXTMETRICA metrics{};
    HDC dc = GetDC(dialog);
    HGDIOBJ before = SelectObject(dc, Own(dialog).TextFont);
    GetTextMetricsA(dc, &metrics);
    SelectObject(dc, before);
    ReleaseDC(dialog, dc);
    int width = stop.right + margins.left + (close.right - close.left) + margins.right;
    int textHeight = MinimumTextLines * metrics.tmHeight + GetSystemMetrics(SM_CYHSCROLL);
    int height = text.top + textHeight + margins.top + (close.bottom - close.top) + margins.bottom;
    return FrameAround(dialog, width, height);
}

static RECT WorkAreaOf(HWND window)
{
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoA(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor);
    return monitor.rcWork;
}

// As wide as the text needs, within the screen, centred over the main window.
static void PlaceDialog(HWND dialog)
{
    HWND edit = GetDlgItem(dialog, IDC_FORMS_TEXT);
    RECT window, editClient, owner, screen = WorkAreaOf(dialog);
    GetWindowRect(dialog, &window);
    GetClientRect(edit, &editClient);
    int grow = TextClientWidth(edit) - editClient.right;
    int width = window.right - window.left + (grow > 0 ? grow : 0);
    int height = window.bottom - window.top;
    if (width > screen.right - screen.left) width = screen.right - screen.left;
    if (height > screen.bottom - screen.top) height = screen.bottom - screen.top;
    GetWindowRect(GetWindow(dialog, GW_OWNER) ? GetWindow(dialog, GW_OWNER) : dialog, &owner);
    int x = (owner.left + owner.right - width) / 2, y = (owner.top + owner.bottom - height) / 2;
    x = x + width > screen.right ? screen.right - width : x;
    y = y + height > screen.bottom ? screen.bottom - height : y;
    SetWindowPos(dialog, nullptr, x < screen.left ? screen.left : x, y < screen.top ? screen.top : y, width, height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    LayOut(dialog);
}

static void UseFontForDpi(HWND dialog, int32_t dpi)
{
    FormsWindow* own = OwnToChange(dialog);
    HFONT old = own->TextFont;
    own->TextFont = CreateFixedMessageFont((UINT)dpi);
    HWND edit = GetDlgItem(dialog, IDC_FORMS_TEXT);
    SendMessageA(edit, WM_SETFONT, (WPARAM)own->TextFont, TRUE);
    if (old) DeleteObject(old);
    MeasureText(edit);
}

// ---- Pitch names: a choice for reading, kept in the settings at once, so
// that every other view of pitches follows it.

static void FillNamesList(HWND dialog)
{
    HWND list = GetDlgItem(dialog, IDC_FORMS_NAMES);
    for (const char* choice : {"Numbers", "Sharps", "Flats"}) SendMessageA(list, CB_ADDSTRING, 0, (LPARAM)choice);
    const int32_t naming = Settings.PitchNames;
    SendMessageA(list, CB_SETCURSEL, naming >= 0 && naming < PitchNamingCount ? naming : PitchNumbers, 0);
}

// The text written anew in the chosen names, at the line it was read at.
static void ChangeNames(HWND dialog)
{
    LRESULT chosen = SendDlgItemMessageA(dialog, IDC_FORMS_NAMES, CB_GETCURSEL, 0, 0);
    if (chosen == CB_ERR || chosen == Settings.PitchNames) return;
    Settings.PitchNames = (int32_t)chosen;
    HWND edit = GetDlgItem(dialog, IDC_FORMS_TEXT);
    LRESULT line = SendMessageA(edit, EM_GETFIRSTVISIBLELINE, 0, 0);
    BuildFormsText(FormsText, sizeof FormsText);
    SetWindowTextA(edit, FormsText);
    SendMessageA(edit, EM_LINESCROLL, 0, line);
    MeasureText(edit);
    FitHorizontalBar(dialog);
}

// ---- Choosing and playing a form

static void FillFormList(HWND dialog)
{
    HWND list = GetDlgItem(dialog, IDC_FORMS_FORM);
    int32_t order[FormCount];
    OrderFormsByName(ToneMatrix, order);
    for (int32_t formIndex : order) {
        char label[FormLabelSize];
        LabelForm(formIndex, ToneMatrix, label);
        LRESULT at = SendMessageA(list, CB_ADDSTRING, 0, (LPARAM)label);
        SendMessageA(list, CB_SETITEMDATA, at, formIndex);
    }
    SendMessageA(list, CB_SETCURSEL, 0, 0);
}

static void FillVoiceList(HWND dialog)
{
    HWND list = GetDlgItem(dialog, IDC_FORMS_VOICE);
    for (int v = 0; v < VoiceCount; ++v) {
        if (!VoiceTracks[v].Active) continue;
        char label[48];
        std::snprintf(label, sizeof label, "%d: %s", v + 1, VoiceInstrumentName(v));
        LRESULT at = SendMessageA(list, CB_ADDSTRING, 0, (LPARAM)label);
        SendMessageA(list, CB_SETITEMDATA, at, v);
    }
    SendMessageA(list, CB_SETCURSEL, 0, 0);
}

static int32_t Chosen(HWND dialog, int id)
{
    LRESULT at = SendDlgItemMessageA(dialog, id, CB_GETCURSEL, 0, 0);
    return at == CB_ERR ? -1 : (int32_t)SendDlgItemMessageA(dialog, id, CB_GETITEMDATA, at, 0);
}

// Play is there while a voice took part; Stop while anything plays, the
// piece or a form. A button that loses the focus by turning grey hands it on.
static void ShowPlayState(HWND dialog)
{
    bool voices = Chosen(dialog, IDC_FORMS_VOICE) >= 0;
    bool playing = PlaybackRunning();
    HWND stop = GetDlgItem(dialog, IDC_FORMS_STOP);
    if (!playing && GetFocus() == stop)
        SendMessageA(dialog, WM_NEXTDLGCTL, (WPARAM)GetDlgItem(dialog, voices ? IDC_FORMS_PLAY : IDOK), TRUE);
    EnableWindow(GetDlgItem(dialog, IDC_FORMS_PLAY), voices);
    EnableWindow(stop, playing);
}

void ShowFormsPlayState()
{
    HWND dialog = OpenDialog;
    if (dialog) PostMessageA(dialog, PlaybackChanged, 0, 0);
}

// ---- The dialog

static void OpenFormsDialog(HWND dialog)
{
    OpenDialog = dialog;
    BuildFormsText(FormsText, sizeof FormsText);
    HWND edit = GetDlgItem(dialog, IDC_FORMS_TEXT);
    SetWindowLongPtrA(dialog, DWLP_USER, (LONG_PTR) new FormsWindow());
    UseFontForDpi(dialog, (int32_t)DpiOfWindow(dialog));
    FillTextControl(edit);
    FillNamesList(dialog);
    FillFormList(dialog);
    FillVoiceList(dialog);
    ShowPlayState(dialog);
    PlaceDialog(dialog);
    // The text opens with the caret at its start and nothing selected, for reading.
    SetFocus(GetDlgItem(dialog, IDC_FORMS_TEXT));
    SendDlgItemMessageA(dialog, IDC_FORMS_TEXT, EM_SETSEL, 0, 0);
}

// On a screen of another DPI the dialog takes the place the system
// suggests. Newer systems then scale the other controls and hand each the
// dialog's own font: the text's font is made afterwards, through the queue.
static void ChangeDpi(HWND dialog, int32_t dpi, const RECT* suggested)
{
    SetWindowPos(dialog, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                 suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
    PostMessageA(dialog, FontForNewDpi, dpi, 0);
}

// Close, Enter and Esc end the dialog, and with it a form still sounding;
// a piece that plays goes on.
static INT_PTR Command(HWND dialog, int id, int code)
{
    switch (id) {
    case IDC_FORMS_NAMES:
        if (code == CBN_SELCHANGE) ChangeNames(dialog);
        return TRUE;
    case IDC_FORMS_PLAY:
        StartFormPlayback(Chosen(dialog, IDC_FORMS_VOICE), Chosen(dialog, IDC_FORMS_FORM));
        return TRUE;
    case IDC_FORMS_STOP:
        StopPlayback();
        return TRUE;
    case IDOK:
    case IDCANCEL:
        StopFormPlayback();
        EndDialog(dialog, 0);
        return TRUE;
    default:
        return FALSE;
    }
}

INT_PTR CALLBACK FormsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        OpenFormsDialog(dialog);
        return FALSE;
    case WM_COMMAND:
        return Command(dialog, LOWORD(wParam), HIWORD(wParam));
    case PlaybackChanged:
        ShowPlayState(dialog);
        return TRUE;
    case WM_SIZE:
        LayOut(dialog);
        return TRUE;
    case WM_GETMINMAXINFO: {
        if (!Own(dialog).TextFont) return FALSE;
        SIZE smallest = SmallestSize(dialog);
        ((MINMAXINFO*)lParam)->ptMinTrackSize = POINT{smallest.cx, smallest.cy};
        return TRUE;
    }
    case WM_DPICHANGED:
        ChangeDpi(dialog, HIWORD(wParam), (const RECT*)lParam);
        return FALSE;
    case FontForNewDpi:
        UseFontForDpi(dialog, (int32_t)wParam);
        LayOut(dialog);
        return TRUE;
    case WM_DESTROY: {
        // A dialog opened since is the one told now.
        HWND self = dialog;
        OpenDialog.compare_exchange_strong(self, nullptr);
        StopFormPlayback();
        return FALSE;
    }
    case WM_NCDESTROY:
        if (FormsWindow* own = OwnToChange(dialog)) {
            DeleteObject(own->TextFont);
            delete own;
            SetWindowLongPtrA(dialog, DWLP_USER, 0);
        }
        return FALSE;
    default:
        return FALSE;
    }
}

void ShowFormsDialog(HWND owner)
{
    DialogBoxParamA(AppInstance, MAKEINTRESOURCEA(IDD_FORMS), owner, FormsDialogProc, 0);
}
