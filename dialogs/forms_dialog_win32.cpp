// The Forms dialog: the plan of the last Compose in a read-only text in a
// fixed-pitch font, to read, select and copy. It changes nothing.
#include <windows.h>

#include "app/app_win32.h"
#include "dialogs/dialogs_win32.h"
#include "dialogs/forms_text.h"
#include "dialogs/ok_cancel_win32.h"
#include "resources/resource.h"

static char FormsText[FormsTextSize];

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

static void ShowFormsText(HWND dialog)
{
    HWND text = GetDlgItem(dialog, IDC_FORMS_TEXT);
    SendMessageA(text, WM_SETFONT, (WPARAM)GetStockObject(ANSI_FIXED_FONT), FALSE);
    EditProc = (WNDPROC)SetWindowLongPtrA(text, GWLP_WNDPROC, (LONG_PTR)SelectAllOnCtrlA);
    BuildFormsText(FormsText, sizeof FormsText);
    SetWindowTextA(text, FormsText);
}

// The text opens with the caret at its start and nothing selected, for
// reading. Close, Enter and Esc end the dialog.
INT_PTR CALLBACK FormsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    if (message != WM_INITDIALOG) return AnswerOkCancelDialog(dialog, message, wParam, nullptr, nullptr);
    ShowFormsText(dialog);
    SetFocus(GetDlgItem(dialog, IDC_FORMS_TEXT));
    SendDlgItemMessageA(dialog, IDC_FORMS_TEXT, EM_SETSEL, 0, 0);
    return FALSE;
}

void ShowFormsDialog(HWND owner)
{
    DialogBoxParamA(AppInstance, MAKEINTRESOURCEA(IDD_FORMS), owner, FormsDialogProc, 0);
}
