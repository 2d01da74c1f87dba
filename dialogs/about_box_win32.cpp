#include "app/app_win32.h"
#include "dialogs/dialogs_win32.h"
#include "resources/resource.h"

// The texts live in the template; there is nothing to fill in.
INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    if (message == WM_INITDIALOG) return TRUE;
    if (message != WM_COMMAND) return FALSE;
    const int id = LOWORD(wParam);
    if (id != IDOK && id != IDCANCEL) return FALSE;
    EndDialog(dialog, 0);
    return TRUE;
}

void ShowAboutBox(HWND owner)
{
    DialogBoxParamA(AppInstance, MAKEINTRESOURCEA(IDD_ABOUT), owner, AboutDialogProc, 0);
}
