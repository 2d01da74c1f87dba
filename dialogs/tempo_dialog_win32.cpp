#include "app/app_win32.h"
#include "dialogs/dialogs_win32.h"
#include "dialogs/ok_cancel_win32.h"
#include "resources/resource.h"
#include "settings/settings.h"

static void FillTempoList(HWND dialog)
{
    HWND list = GetDlgItem(dialog, IDC_TEMPO_LIST);
    for (int i = 0; i < TempoCount; ++i)
        SendMessageA(list, LB_ADDSTRING, 0, (LPARAM)TempoLabels[i]);
    SendMessageA(list, LB_SETCURSEL, (WPARAM)ReadTempoIndex(), 0);
}

// The list is never sorted, so its selected position is the index into the
// tempo table. Playback picks the new index up at its next timer event.
static void StoreTempo(HWND dialog)
{
    const LRESULT selected = SendMessageA(GetDlgItem(dialog, IDC_TEMPO_LIST), LB_GETCURSEL, 0, 0);
    if (selected >= 0 && selected < TempoCount) WriteTempoIndex((int32_t)selected);
}

INT_PTR CALLBACK TempoDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    return AnswerOkCancelDialog(dialog, message, wParam, FillTempoList, StoreTempo);
}

void ShowTempoDialog(HWND owner)
{
    DialogBoxParamA(AppInstance, MAKEINTRESOURCEA(IDD_MIDI), owner, TempoDialogProc, 0);
}
