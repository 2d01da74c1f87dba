// The DPI a window is drawn for, and what the main window makes for it.
#pragma once
#include <windows.h>

enum { BaseDpi = 96 };  // 100 % scaling: a length at this DPI is the one designed

// The DPI of the monitor the window is on, where the system knows one DPI per
// monitor (Windows 10 version 1607 and later); elsewhere the system's DPI.
UINT DpiOfWindow(HWND window);

// A system metric (GetSystemMetrics) for the given DPI: the system's own
// where it knows one per DPI (Windows 10 version 1607 and later), else the
// metric at the system's DPI, scaled.
int SystemMetricForDpi(int index, UINT dpi);

// A length designed at 96 DPI, for the given DPI.
int ScaleForDpi(int length, UINT dpi);

// The font the system shows messages in, made for the given DPI. The caller
// deletes it.
HFONT CreateMessageFont(UINT dpi);

// The measures of a font as the window draws it.
TEXTMETRICA MeasureFont(HWND window, HFONT font);

// A fixed-pitch font ("Courier New") as tall as the message font, for the
// given DPI; the system's fixed font where it cannot be made. The caller
// deletes it (deleting the stock font does nothing).
HFONT CreateFixedMessageFont(UINT dpi);
