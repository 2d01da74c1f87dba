// The main window: its class, its procedure and what it paints.
#pragma once
#include <windows.h>

#include <cstdint>

enum { StatusLineCount = 2, StatusLineSize = 40 };

extern char StatusLines[StatusLineCount][StatusLineSize];
extern int32_t LineHeight;  // tmHeight + tmExternalLeading of StatusFont
extern HFONT StatusFont;    // the system's message font, made for MainWindowDpi
extern UINT MainWindowDpi;  // the DPI the window is drawn for

// The first size of the window at 96 DPI, scaled for the DPI it opens at:
// room for the Forms dialog's matrix over it.
enum { FirstWidth = 720, FirstHeight = 540 };

// Registers the window class "Varnolt"; false when the system refuses it.
bool RegisterMainWindowClass(HINSTANCE instance);

// Creates the main window of the registered class, at its first size for its
// DPI within its monitor's work area; the whole start-up of the program runs
// while it is being created. Not shown yet.
HWND CreateMainWindow(HINSTANCE instance);

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The three-button toolbar (Save, Play, Stop), all disabled; kept as MainToolbar.
HWND CreateMainToolbar(HWND window);
// Makes the toolbar anew (MainToolbar changes) with the glyphs drawn nearest
// to the DPI's size, in the system's button colours of the moment, buttons
// to match, and each button enabled as it was.
void FitToolbarToDpi(UINT dpi);

// Answers the toolbar's notices that come to the main window: the text of a
// button's tooltip is the name of its menu twin.
LRESULT AnswerToolbarNotice(NMHDR* notice);
