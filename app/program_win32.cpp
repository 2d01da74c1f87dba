#include "app/program_win32.h"

#include "app/app_win32.h"
#include "app/main_window_win32.h"
#include "app/report_error.h"
#include "resources/resource.h"

bool TranslateShortcutKey(MSG* message)
{
    static HACCEL shortcuts = LoadAcceleratorsA(AppInstance, MAKEINTRESOURCEA(IDR_MAINMENU));
    return MainWindow && TranslateAcceleratorA(MainWindow, shortcuts, message);
}

int RunProgram(HINSTANCE instance, int showCommand)
{
    if (!RegisterMainWindowClass(instance)) {
        MessageBoxA(nullptr, "Program requires Windows NT!", "Varnolt", MB_ICONERROR);
        return 0;
    }
    // Without a window the loop below would wait for ever, unseen.
    HWND window = CreateMainWindow(instance);
    if (!window) {
        ReportError("ERROR: Cannot create the main window");
        return 0;
    }
    ShowWindow(window, showCommand);
    UpdateWindow(window);

    MSG message{};  // a loop that fails at once still ends with code 0
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        if (TranslateShortcutKey(&message)) continue;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return (int)message.wParam;
}
