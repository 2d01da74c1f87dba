// What the settings dialogs and the About box share: the controls are filled
// when the dialog opens and written back on OK only; Cancel, Escape and the
// close box end it and write nothing.
#pragma once
#include <windows.h>

// Answers one message of such a dialog: show (may be null) fills the controls
// at WM_INITDIALOG, store (may be null) writes them back at OK, and OK or
// Cancel ends the dialog. The result is the dialog procedure's.
INT_PTR AnswerOkCancelDialog(HWND dialog, UINT message, WPARAM wParam, void (*show)(HWND), void (*store)(HWND));
