// The settings dialogs and the About box, each run modally over the owner.
// Every one fills its controls from the settings when it opens and writes
// them back only on OK.
#pragma once
#include <windows.h>

void ShowMatrixDialog(HWND owner);   // template 127
void ShowOctavesDialog(HWND owner);  // template 131
void ShowTempoDialog(HWND owner);    // template 148, "MIDI"
void ShowVoicesDialog(HWND owner);   // template 130
void ShowSeriesSheet(HWND owner);    // pages 107, 133..147
void ShowAboutBox(HWND owner);       // template 102
void ShowFormsDialog(HWND owner);    // template 149: the plan of the last Compose, any form played alone

// Has an open Forms dialog show its Play and Stop anew; any thread may call it.
void ShowFormsPlayState();

// The dialog procedures, for tests that create a dialog from its template.
INT_PTR CALLBACK MatrixDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK OctavesDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK TempoDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK VoicesDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK FormsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
