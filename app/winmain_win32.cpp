// The program entry: the window class, the main window and the message loop.
#include <windows.h>

#include "app/main_window_win32.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand)
{
    if (!RegisterMainWindowClass(instance)) {
        MessageBoxA(nullptr, "Program requires Windows NT!", "Varnolt", MB_ICONERROR);
        return 0;
    }
    HWND window = CreateMainWindow(instance);
    ShowWindow(window, showCommand);
    UpdateWindow(window);

    MSG message{};  // a loop that fails at once still ends with code 0
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return (int)message.wParam;
}
