#include "midi/save_win32.h"

#include <commdlg.h>

#include <cstddef>
#include <cstdio>
#include <cstring>

#include "app/report_error.h"
#include "midi/smf.h"

char SongFileName[SongFileNameSize];
int32_t HasSongFileName;

// The dialog works on a copy, so that a cancelled or failed dialog leaves the
// remembered name exactly as it was.
static char DialogFileName[SongFileNameSize];
static OPENFILENAMEA SaveDialog;

// The structure without its later extension fields, which every system knows.
// The system's own macro for this size is not a constant expression.
#if defined(_WIN32) && !defined(_WIN64)
static_assert(offsetof(OPENFILENAMEA, lpTemplateName) + sizeof(OPENFILENAMEA::lpTemplateName) == 76,
              "the save dialog's structure has its old size");
#endif

void InitSaveDialog()
{
    std::memset(&SaveDialog, 0, sizeof SaveDialog);
    SaveDialog.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
    SaveDialog.hInstance = nullptr;
    SaveDialog.nMaxFile = SongFileNameSize;
}

void ReportSaveDialogFailure()
{
    if (DWORD code = CommDlgExtendedError()) {
        char text[80];
        std::snprintf(text, sizeof text, "ERROR: Save dialog failed with code 0x%04lX; nothing was saved",
                      (unsigned long)code);
        ReportError(text);
    }
}

// No filter, no default extension, no title, no initial folder: the name is
// used exactly as typed. The dialog itself asks before replacing a file. A
// dialog that fails is no Cancel: the user chose Save and is told.
bool SaveSongAs(HWND owner)
{
    std::memcpy(DialogFileName, SongFileName, sizeof DialogFileName);
    SaveDialog.hwndOwner = owner;
    SaveDialog.lpstrFile = DialogFileName;
    SaveDialog.Flags = OFN_OVERWRITEPROMPT;
    if (!GetSaveFileNameA(&SaveDialog)) {
        ReportSaveDialogFailure();
        return false;
    }
    std::memcpy(SongFileName, DialogFileName, sizeof SongFileName);
    WriteMidiFile(SongFileName);
    HasSongFileName = 1;
    return true;
}

void SaveSong(HWND owner)
{
    if (HasSongFileName)
        WriteMidiFile(SongFileName);
    else
        SaveSongAs(owner);
}
