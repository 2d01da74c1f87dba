#include "app/app_win32.h"
#include "dialogs/dialogs_win32.h"
#include "dialogs/ok_cancel_win32.h"
#include "resources/resource.h"

// The texts live in the template; there is nothing to fill in.
INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    return AnswerOkCancelDialog(dialog, message, wParam, nullptr, nullptr);
}

void ShowAboutBox(HWND owner)
{
    DialogBoxParamA(AppInstance, MAKEINTRESOURCEA(IDD_ABOUT), owner, AboutDialogProc, 0);
}
