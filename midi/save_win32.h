// Save and Save As through the system's save dialog.
#pragma once
#include <windows.h>

void InitSaveDialog();
bool SaveSongAs(HWND owner);  // true when the user confirmed a name
void SaveSong(HWND owner);
