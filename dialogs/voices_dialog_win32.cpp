#include "app/app_win32.h"
#include "dialogs/dialogs_win32.h"
#include "dialogs/list_search_win32.h"
#include "settings/program_names.h"
#include "dialogs/ok_cancel_win32.h"
#include "resources/resource.h"
#include "settings/settings.h"

enum { PercussionVoice = 9 };  // voice 10: no instrument to choose

// The check box of voice (from 0): voices 13..16 have a run of ids of their own.
static HWND VoiceCheck(HWND dialog, int voice)
{
    return GetDlgItem(dialog, voice < 12 ? IDC_VOICE_CHECK_FIRST + voice : IDC_VOICE_CHECK_13 + voice - 12);
}

// Voice 10 has no list: a label stands in its place.
static HWND InstrumentList(HWND dialog, int voice)
{
    return GetDlgItem(dialog, IDC_INSTRUMENT_FIRST + voice);
}

static void ShowVoices(HWND dialog)
{
    for (int v = 0; v < VoiceCount; ++v)
        SendMessageA(VoiceCheck(dialog, v), BM_SETCHECK,
                     Settings.VoiceActive[v] ? BST_CHECKED : BST_UNCHECKED, 0);
    for (int p = 0; p < ProgramCount; ++p)
        for (int v = 0; v < VoiceCount; ++v)
            if (v != PercussionVoice)
                SendMessageA(InstrumentList(dialog, v), LB_ADDSTRING, 0, (LPARAM)ProgramNameTable[p]);
    for (int v = 0; v < VoiceCount; ++v)
        if (v != PercussionVoice) {
            SendMessageA(InstrumentList(dialog, v), LB_SETCURSEL, (WPARAM)Settings.VoiceInstrument[v], 0);
            SearchListAsTyped(InstrumentList(dialog, v));
        }
}

// The lists are never sorted, so a selected position is a program number.
static void StoreVoices(HWND dialog)
{
    for (int v = 0; v < VoiceCount; ++v)
        Settings.VoiceActive[v] =
            SendMessageA(VoiceCheck(dialog, v), BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0;
    for (int v = 0; v < VoiceCount; ++v) {
        if (v == PercussionVoice) continue;
        const LRESULT selected = SendMessageA(InstrumentList(dialog, v), LB_GETCURSEL, 0, 0);
        if (selected >= 0 && selected < ProgramCount) Settings.VoiceInstrument[v] = (int32_t)selected;
    }
    Settings.VoiceInstrument[PercussionVoice] = 0;
}

INT_PTR CALLBACK VoicesDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    return AnswerOkCancelDialog(dialog, message, wParam, ShowVoices, StoreVoices);
}

void ShowVoicesDialog(HWND owner)
{
    DialogBoxParamA(AppInstance, MAKEINTRESOURCEA(IDD_VOICES), owner, VoicesDialogProc, 0);
}
