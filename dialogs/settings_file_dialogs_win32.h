// File > Open Settings... and Save Settings...: the system's open and save
// dialogs for settings files, with a name of their own, apart from the piece's.
#pragma once
#include <windows.h>

#include "midi/file_write.h"

// The settings file last opened or saved, shown again by the next dialog.
extern char SettingsFileName[LongestPathBytes];

void OpenSettings(HWND owner);
void SaveSettings(HWND owner);
