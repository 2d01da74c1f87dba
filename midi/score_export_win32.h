// File > Export Score...: the piece of the last Compose as a MusicXML score,
// through the system's save dialog.
#pragma once
#include <windows.h>

#include "midi/save_win32.h"

// The name of the last confirmed export, shown again by the next dialog.
extern char ScoreFileName[SongFileNameSize];

void ExportScore(HWND owner);
