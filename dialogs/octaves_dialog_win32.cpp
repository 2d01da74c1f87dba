// The Octaves dialog: the octave of each of the sixteen voices. OK writes all
// sixteen or, when a field is empty, none.
#include <windows.h>

#include <cstdio>

#include "app/app_win32.h"
#include "app/report_error.h"
#include "dialogs/dialogs_win32.h"
#include "dialogs/edit_check_win32.h"
#include "dialogs/field_check.h"
#include "resources/resource.h"
#include "settings/settings.h"

enum { OctaveChars = 2, MaxOctave = 8 };

// The most recent text of each edit that passed the check.
static char LastOctaveText[VoiceCount][OctaveChars + 1];

static void OpenOctavesDialog(HWND dialog)
{
    for (int32_t i = 0; i < VoiceCount; ++i)
        ShowEditValue(dialog, IDC_OCTAVE_FIRST + i, Settings.VoiceOctave[i], LastOctaveText[i], OctaveChars);
}

static void AcceptOctavesDialog(HWND dialog)
{
    for (int32_t i = 0; i < VoiceCount; ++i) {
        if (GetWindowTextLengthA(GetDlgItem(dialog, IDC_OCTAVE_FIRST + i)) != 0) continue;
        char message[64];
        std::snprintf(message, sizeof message, "ERROR: Invalid octave %d", (int)i);
        ReportError(message);
        return;
    }
    for (int32_t i = 0; i < VoiceCount; ++i) {
        char text[OctaveChars + 1];
        ReadLeadingText(GetDlgItem(dialog, IDC_OCTAVE_FIRST + i), text, OctaveChars);
        Settings.VoiceOctave[i] = FieldTextValue(text);
    }
    EndDialog(dialog, 0);
}

INT_PTR CALLBACK OctavesDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG) {
        OpenOctavesDialog(dialog);
        return TRUE;
    }
    if (message != WM_COMMAND) return FALSE;
    int32_t id = LOWORD(wParam);
    int32_t code = HIWORD(wParam);
    if (code == EN_UPDATE && id >= IDC_OCTAVE_FIRST && id < IDC_OCTAVE_FIRST + VoiceCount)
        CheckEditChange((HWND)lParam, LastOctaveText[id - IDC_OCTAVE_FIRST], OctaveChars, MaxOctave);
    else if (code == BN_CLICKED && id == IDOK)
        AcceptOctavesDialog(dialog);
    else if (code == BN_CLICKED && id == IDCANCEL)
        EndDialog(dialog, 0);
    return TRUE;
}

void ShowOctavesDialog(HWND owner)
{
    DialogBoxParamA(AppInstance, MAKEINTRESOURCEA(IDD_OCTAVES), owner, OctavesDialogProc, 0);
}
