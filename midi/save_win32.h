// Save and Save As through the system's save dialog.
#pragma once
#include <windows.h>

#include <cstdint>

enum { SongFileNameSize = 260 };

// The name of the last confirmed Save As, shown again by the next dialog.
extern char SongFileName[SongFileNameSize];
// Set by a confirmed Save As, even when the file could not be written.
extern int32_t HasSongFileName;

void InitSaveDialog();
bool SaveSongAs(HWND owner);  // true when the user confirmed a name
void SaveSong(HWND owner);    // no dialog once a name was chosen
