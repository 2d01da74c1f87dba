#include "dialogs/ok_cancel_win32.h"

INT_PTR AnswerOkCancelDialog(HWND dialog, UINT message, WPARAM wParam, void (*show)(HWND), void (*store)(HWND))
{
    if (message == WM_INITDIALOG) {
        if (show) show(dialog);
        return TRUE;
    }
    if (message != WM_COMMAND) return FALSE;
    const int id = LOWORD(wParam);
    if (id != IDOK && id != IDCANCEL) return FALSE;
    if (id == IDOK && store) store(dialog);
    EndDialog(dialog, 0);
    return TRUE;
}
