#include "tests/win/support/main_window_user.h"

#include "app/main_window_win32.h"
#include "tests/win/support/dialog_user.h"

HWND OpenMainWindow()
{
    HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSA known;
    if (!GetClassInfoA(instance, "Varnolt", &known) && !RegisterMainWindowClass(instance)) return nullptr;
    HWND window = CreateMainWindow(instance);
    if (!window) return nullptr;
    ShowWindow(window, SW_SHOWNORMAL);
    UpdateWindow(window);
    Pump(50);
    return window;
}

void CloseMainWindow(HWND window)
{
    if (IsWindow(window)) DestroyWindow(window);
    MSG quit;
    while (PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
}
