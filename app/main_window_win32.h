// The main window: its class, its procedure and what it paints.
#pragma once
#include <windows.h>

#include <cstdint>

enum { StatusLineCount = 2, StatusLineSize = 40 };

extern char StatusLines[StatusLineCount][StatusLineSize];
extern int32_t LineHeight;  // tmHeight + tmExternalLeading of the window's default font

// Registers the window class "Varnolt"; false when the system refuses it.
bool RegisterMainWindowClass(HINSTANCE instance);

// Creates the main window of the registered class; the whole start-up of the
// program runs while it is being created. Not shown yet.
HWND CreateMainWindow(HINSTANCE instance);

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The three-button toolbar (Save, Play, Stop), all disabled; kept as MainToolbar.
HWND CreateMainToolbar(HWND window);

// Answers the toolbar's notices that come to the main window: the text of a
// button's tooltip is the name of its menu twin.
LRESULT AnswerToolbarNotice(NMHDR* notice);
