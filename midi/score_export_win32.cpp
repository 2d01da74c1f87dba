#include "midi/score_export_win32.h"

#include <commdlg.h>

#include <cstring>
#include <string>

#include "midi/score.h"

char ScoreFileName[SongFileNameSize];

// The dialog works on a copy, so that a cancelled or failed dialog leaves the
// remembered name exactly as it was.
static char DialogFileName[SongFileNameSize];

// Before the first export the piece's own name, if it has one, with the
// score's extension in place of its own.
static void SuggestName()
{
    std::memcpy(DialogFileName, ScoreFileName, sizeof DialogFileName);
    if (ScoreFileName[0] || !HasSongFileName) return;
    std::string name = SongFileName;
    size_t dot = name.find_last_of('.');
    if (dot != std::string::npos && name.find_first_of("\\/", dot) == std::string::npos) name.erase(dot);
    name += ".musicxml";
    if (name.size() < sizeof DialogFileName) std::memcpy(DialogFileName, name.c_str(), name.size() + 1);
}

// A bare name gets the extension; the dialog asks before replacing a file.
void ExportScore(HWND owner)
{
    if (!PieceHasAScore()) return;
    OPENFILENAMEA dialog = {};
    dialog.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = "MusicXML files (*.musicxml)\0*.musicxml\0";
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = DialogFileName;
    dialog.nMaxFile = SongFileNameSize;
    dialog.lpstrTitle = "Export Score";
    dialog.lpstrDefExt = "musicxml";
    dialog.Flags = OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY;
    SuggestName();
    if (!GetSaveFileNameA(&dialog)) {
        ReportSaveDialogFailure();
        return;
    }
    std::memcpy(ScoreFileName, DialogFileName, sizeof ScoreFileName);
    WriteScoreFile(ScoreFileName);
}
