// The whole run of the program, from the window class to the end of the
// message loop, apart from the entry point itself.
#pragma once
#include <windows.h>

// Returns the program's exit code.
int RunProgram(HINSTANCE instance, int showCommand);
