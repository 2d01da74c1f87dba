#include "app/app_win32.h"
#include "dialogs/dialogs_win32.h"
#include "dialogs/program_names.h"
#include "resources/resource.h"
#include "settings/settings.h"

enum { PercussionVoice = 9 };  // voice 10: no instrument to choose

// Voices 1..12 have check boxes 1025..1036, voices 13..16 have 1053..1056.
static const int VoiceCheckIds[VoiceCount] = {
    1025, 1026, 1027, 1028, 1029, 1030, 1031, 1032,
    1033, 1034, 1035, 1036, 1053, 1054, 1055, 1056,
};

// Voice v (from 1) has list 1036 + v; voice 10's place holds a label instead.
static const int InstrumentListIds[VoiceCount] = {
    1037, 1038, 1039, 1040, 1041, 1042, 1043, 1044,
    1045, 0, 1047, 1048, 1049, 1050, 1051, 1052,
};

static HWND InstrumentList(HWND dialog, int voice)
{
    return GetDlgItem(dialog, InstrumentListIds[voice]);
}

static void ShowVoices(HWND dialog)
{
    for (int v = 0; v < VoiceCount; ++v)
        SendMessageA(GetDlgItem(dialog, VoiceCheckIds[v]), BM_SETCHECK,
                     Settings.VoiceActive[v] ? BST_CHECKED : BST_UNCHECKED, 0);
    for (int p = 0; p < ProgramCount; ++p)
        for (int v = 0; v < VoiceCount; ++v)
            if (v != PercussionVoice)
                SendMessageA(InstrumentList(dialog, v), LB_ADDSTRING, 0, (LPARAM)ProgramNameTable[p]);
    for (int v = 0; v < VoiceCount; ++v)
        if (v != PercussionVoice)
            SendMessageA(InstrumentList(dialog, v), LB_SETCURSEL, (WPARAM)Settings.VoiceInstrument[v], 0);
}

// The lists are never sorted, so a selected position is a program number.
static void StoreVoices(HWND dialog)
{
    for (int v = 0; v < VoiceCount; ++v)
        Settings.VoiceActive[v] =
            SendMessageA(GetDlgItem(dialog, VoiceCheckIds[v]), BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0;
    for (int v = 0; v < VoiceCount; ++v) {
        if (v == PercussionVoice) continue;
        const LRESULT selected = SendMessageA(InstrumentList(dialog, v), LB_GETCURSEL, 0, 0);
        if (selected >= 0 && selected < ProgramCount) Settings.VoiceInstrument[v] = (int32_t)selected;
    }
    Settings.VoiceInstrument[PercussionVoice] = 0;
}

INT_PTR CALLBACK VoicesDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    if (message == WM_INITDIALOG) {
        ShowVoices(dialog);
        return TRUE;
    }
    if (message != WM_COMMAND) return FALSE;
    switch (LOWORD(wParam)) {
    case IDOK:
        StoreVoices(dialog);
        EndDialog(dialog, 0);
        return TRUE;
    case IDCANCEL:
        EndDialog(dialog, 0);
        return TRUE;
    default:
        return FALSE;
    }
}

void ShowVoicesDialog(HWND owner)
{
    DialogBoxParamA(AppInstance, MAKEINTRESOURCEA(IDD_VOICES), owner, VoicesDialogProc, 0);
}
