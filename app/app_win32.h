// What the main window keeps for the rest of the program.
#pragma once
#include <windows.h>

extern HINSTANCE AppInstance;  // the toolbar bitmap and every template come from it
extern HWND MainWindow;
extern HWND MainToolbar;       // control id 1000
