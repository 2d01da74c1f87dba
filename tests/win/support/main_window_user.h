// The program's real main window, made and shown for a test, then destroyed
// with any quit message it left.
#pragma once
#include <windows.h>

HWND OpenMainWindow();  // null when it cannot be made
void CloseMainWindow(HWND window);
