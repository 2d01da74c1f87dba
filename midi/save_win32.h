// Save and Save As through the system's save dialog.
#pragma once
#include <windows.h>

#include <cstdint>

#include "midi/file_write.h"

// The dialog's buffer counts bytes, and a name of the system's longest length
// may take three for each of its characters.
enum { SongFileNameSize = LongestPathBytes };

// The name of the last confirmed Save As, shown again by the next dialog.
extern char SongFileName[SongFileNameSize];
// Set by a confirmed Save As, even when the file could not be written.
extern int32_t HasSongFileName;

void InitSaveDialog();
bool SaveSongAs(HWND owner);  // true when the user confirmed a name
void SaveSong(HWND owner);    // no dialog once a name was chosen
// After a save dialog returned nothing: a dialog that failed is no Cancel,
// the user chose to save and is told.
void ReportSaveDialogFailure();
