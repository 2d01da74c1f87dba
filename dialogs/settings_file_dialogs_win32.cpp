#include "dialogs/settings_file_dialogs_win32.h"

#include <commdlg.h>

#include <cstdio>
#include <cstring>

#include "app/report_error.h"
#include "dialogs/settings_commands.h"

char SettingsFileName[LongestPathBytes];

// The dialogs work on a copy: a cancelled one leaves the name as it was.
static char DialogFileName[LongestPathBytes];

// Settings files first; any other file when the composer asks for it.
static const char Filter[] = "Varnolt settings (*.vns)\0*.vns\0All files (*.*)\0*.*\0";

static OPENFILENAMEA SettingsDialog(HWND owner, const char* title, DWORD flags)
{
    OPENFILENAMEA dialog;
    std::memset(&dialog, 0, sizeof dialog);
    dialog.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = Filter;
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = DialogFileName;
    dialog.nMaxFile = sizeof DialogFileName;
    dialog.lpstrTitle = title;
    dialog.lpstrDefExt = "vns";
    dialog.Flags = flags | OFN_HIDEREADONLY;
    std::memcpy(DialogFileName, SettingsFileName, sizeof DialogFileName);
    return dialog;
}

// A confirmed name is kept; a dialog that fails is no Cancel, and is told.
static bool Confirmed(BOOL answered, const char* nothing)
{
    if (answered) {
        std::memcpy(SettingsFileName, DialogFileName, sizeof SettingsFileName);
        return true;
    }
    if (DWORD code = CommDlgExtendedError()) {
        char text[96];
        std::snprintf(text, sizeof text, "ERROR: Settings dialog failed with code 0x%04lX; nothing was %s",
                      (unsigned long)code, nothing);
        ReportError(text);
    }
    return false;
}

void OpenSettings(HWND owner)
{
    OPENFILENAMEA dialog = SettingsDialog(owner, "Open Settings", OFN_FILEMUSTEXIST);
    if (Confirmed(GetOpenFileNameA(&dialog), "opened")) OpenSettingsFile(SettingsFileName);
}

void SaveSettings(HWND owner)
{
    OPENFILENAMEA dialog = SettingsDialog(owner, "Save Settings", OFN_OVERWRITEPROMPT);
    if (Confirmed(GetSaveFileNameA(&dialog), "saved")) SaveSettingsFile(SettingsFileName);
}
