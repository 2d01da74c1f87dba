// File > Open Settings and Save Settings once a name is chosen: a settings
// file read into the program's settings, or theirs written to one, each told
// through the error box when it fails. They sit beside the dialogs that call
// them, above the writer they save through and the box they report in.
#pragma once

// The whole file is checked before anything changes. When all of it is
// valid its settings replace the program's (the tempo at once, also for a
// piece that is playing); otherwise one error box names the file, the line
// and what was expected, and the settings stay as they were.
bool OpenSettingsFile(const char* path);

// The program's settings into the named file, through the writer that saves
// pieces and with its messages. Changes nothing.
bool SaveSettingsFile(const char* path);
