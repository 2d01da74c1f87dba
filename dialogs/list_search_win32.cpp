#include "dialogs/list_search_win32.h"

enum { PauseMilliseconds = 1000, LongestTyped = 32 };

// What was typed in which list, and when the last key came: one list has the
// keyboard at a time.
static WNDPROC ListProc;
static HWND TypedIn;
static DWORD TypedAt;
static char Typed[LongestTyped + 1];
static int TypedLength;

static bool OneLetterOnly()
{
    for (int i = 1; i < TypedLength; ++i)
        if (Typed[i] != Typed[0]) return false;
    return true;
}

// The list's own search finds a name that begins with the given text (in any
// case) after the given position, coming round from the top.
static void FindTyped(HWND list)
{
    LRESULT current = SendMessageA(list, LB_GETCURSEL, 0, 0);
    char wanted[LongestTyped + 1];
    lstrcpynA(wanted, Typed, OneLetterOnly() ? 2 : LongestTyped + 1);
    // A longer text may still fit the name chosen; one letter moves on.
    LRESULT after = current < 0 ? -1 : (wanted[1] ? current - 1 : current);
    LRESULT found = SendMessageA(list, LB_FINDSTRING, (WPARAM)after, (LPARAM)wanted);
    if (found == LB_ERR || found == current) return;
    SendMessageA(list, LB_SETCURSEL, (WPARAM)found, 0);
    SendMessageA(GetParent(list), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(list), LBN_SELCHANGE), (LPARAM)list);
}

static LRESULT CALLBACK ListSearchingAsTyped(HWND list, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message != WM_CHAR || wParam < ' ' || wParam > 0xFF)
        return CallWindowProcA(ListProc, list, message, wParam, lParam);
    DWORD now = GetTickCount();
    if (list != TypedIn || now - TypedAt > PauseMilliseconds || TypedLength == LongestTyped) TypedLength = 0;
    TypedIn = list;
    TypedAt = now;
    Typed[TypedLength++] = (char)wParam;
    Typed[TypedLength] = 0;
    FindTyped(list);
    return 0;
}

void SearchListAsTyped(HWND list)
{
    WNDPROC before = (WNDPROC)SetWindowLongPtrA(list, GWLP_WNDPROC, (LONG_PTR)ListSearchingAsTyped);
    if (before != ListSearchingAsTyped) ListProc = before;
}
