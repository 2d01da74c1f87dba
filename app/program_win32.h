// The whole run of the program, from the window class to the end of the
// message loop, apart from the entry point itself.
#pragma once
#include <windows.h>

// Returns the program's exit code.
int RunProgram(HINSTANCE instance, int showCommand);

// The shortcut keys of the main window's menu: true when the message was one
// and its command has gone to the main window. The key of a greyed item
// sends nothing.
bool TranslateShortcutKey(MSG* message);
