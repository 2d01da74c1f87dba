// GetDpiForWindow came with Windows 10 version 1607: it is looked up when the
// program runs, so that the program still starts on older systems, where
// the system's one DPI serves.
#include "app/dpi_win32.h"

#include <cstddef>

static UINT SystemDpi()
{
    HDC screen = GetDC(nullptr);
    UINT dpi = (UINT)GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi ? dpi : (UINT)BaseDpi;
}

UINT DpiOfWindow(HWND window)
{
    typedef UINT(WINAPI * DpiForWindow)(HWND);
    static DpiForWindow lookedUp =
        (DpiForWindow)(void (*)())GetProcAddress(GetModuleHandleA("user32.dll"), "GetDpiForWindow");
    UINT dpi = lookedUp ? lookedUp(window) : 0;
    return dpi ? dpi : SystemDpi();
}

int SystemMetricForDpi(int index, UINT dpi)
{
    typedef int(WINAPI * MetricForDpi)(int, UINT);
    static MetricForDpi lookedUp =
        (MetricForDpi)(void (*)())GetProcAddress(GetModuleHandleA("user32.dll"), "GetSystemMetricsForDpi");
    return lookedUp ? lookedUp(index, dpi) : MulDiv(GetSystemMetrics(index), (int)dpi, (int)SystemDpi());
}

int ScaleForDpi(int length, UINT dpi)
{
    return MulDiv(length, (int)dpi, BaseDpi);
}

// The system gives the message font for its own DPI; its height is scaled
// from there. The size without iPaddedBorderWidth, which Windows XP knows,
// is accepted by every later system. Where the system gives none, 9 points.
static LOGFONTW MessageFont(UINT dpi)
{
    NONCLIENTMETRICSW metrics = {};
    metrics.cbSize = offsetof(NONCLIENTMETRICSW, iPaddedBorderWidth);
    const int systemDpi = (int)SystemDpi();
    if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0) ||
        metrics.lfMessageFont.lfHeight == 0)
        metrics.lfMessageFont.lfHeight = -MulDiv(9, systemDpi, 72);
    metrics.lfMessageFont.lfHeight = MulDiv(metrics.lfMessageFont.lfHeight, (int)dpi, systemDpi);
    return metrics.lfMessageFont;
}

HFONT CreateMessageFont(UINT dpi)
{
    LOGFONTW font = MessageFont(dpi);
    return CreateFontIndirectW(&font);
}

TEXTMETRICA MeasureFont(HWND window, HFONT font)
{
    HDC dc = GetDC(window);
    HGDIOBJ before = SelectObject(dc, font);
    TEXTMETRICA metrics = {};
    GetTextMetricsA(dc, &metrics);
    SelectObject(dc, before);
    ReleaseDC(window, dc);
    return metrics;
}

HFONT CreateFixedMessageFont(UINT dpi)
{
    const LOGFONTW message = MessageFont(dpi);
    LOGFONTW font = {};
    font.lfHeight = message.lfHeight;
    font.lfWeight = FW_NORMAL;
    font.lfCharSet = DEFAULT_CHARSET;
    font.lfPitchAndFamily = FIXED_PITCH | FF_MODERN;
    lstrcpyW(font.lfFaceName, L"Courier New");
    HFONT made = CreateFontIndirectW(&font);
    return made ? made : (HFONT)GetStockObject(SYSTEM_FIXED_FONT);
}
