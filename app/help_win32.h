// Help > Contents: the manual in the system's help viewer where there is one,
// else the HTML manual in the user's web browser.
#pragma once
#include <windows.h>

// Takes the whole paths of ../Help/varnolt100.hlp and ../manual.html, seen
// from the folder the program starts in. Called once, at start.
void FindManuals();

void ShowHelpContents(HWND window);

// A help viewer that was asked for help goes when the program goes.
void QuitHelp(HWND window);
