// The main window: the start-up of the program, the two status lines and the
// routing of every menu and toolbar command.
#include "app/main_window_win32.h"

#include <commctrl.h>

#include <algorithm>
#include <cstring>

#include "app/app_win32.h"
#include "app/dpi_win32.h"
#include "app/help_win32.h"
#include "app/piece_view_win32.h"
#include "dialogs/dialogs_win32.h"
#include "dialogs/settings_file_dialogs_win32.h"
#include "engine/compose.h"
#include "engine/random.h"
#include "midi/playback.h"
#include "midi/save_win32.h"
#include "midi/score_export_win32.h"
#include "resources/resource.h"
#include "settings/settings.h"

HINSTANCE AppInstance;
HWND MainWindow;
HWND MainToolbar;

char StatusLines[StatusLineCount][StatusLineSize];
int32_t LineHeight;
HFONT StatusFont;
UINT MainWindowDpi = BaseDpi;

static const char ClassName[] = "Varnolt";

bool RegisterMainWindowClass(HINSTANCE instance)
{
    WNDCLASSA windowClass = {};
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = MainWindowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconA(nullptr, (LPCSTR)IDI_APPLICATION);
    windowClass.hCursor = LoadCursorA(nullptr, (LPCSTR)IDC_ARROW);
    // The user's window colour: white in the standard scheme, black or
    // another in a high-contrast one.
    windowClass.hbrBackground = (HBRUSH)(COLOR_WINDOW + 1);
    windowClass.lpszMenuName = MAKEINTRESOURCEA(IDR_MAINMENU);
    windowClass.lpszClassName = ClassName;
    return RegisterClassA(&windowClass) != 0;
}

// The system chooses where the window opens; its size is scaled for the DPI
// of the monitor there, and it is kept inside that monitor's work area.
static void TakeFirstSize(HWND window)
{
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoA(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor);
    const RECT& work = monitor.rcWork;
    int width = std::min(ScaleForDpi(FirstWidth, MainWindowDpi), (int)(work.right - work.left));
    int height = std::min(ScaleForDpi(FirstHeight, MainWindowDpi), (int)(work.bottom - work.top));
    RECT place;
    GetWindowRect(window, &place);
    int left = std::max((int)work.left, std::min((int)place.left, (int)work.right - width));
    int top = std::max((int)work.top, std::min((int)place.top, (int)work.bottom - height));
    SetWindowPos(window, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

HWND CreateMainWindow(HINSTANCE instance)
{
    HWND window = CreateWindowExA(0, ClassName, "Varnolt", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, CW_USEDEFAULT, CW_USEDEFAULT,
                                  CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, instance, nullptr);
    if (window) TakeFirstSize(window);
    return window;
}

// The two lines' font and their height, for the window's DPI.
static void MakeStatusFont(HWND window)
{
    HFONT old = StatusFont;
    StatusFont = CreateMessageFont(MainWindowDpi);
    if (old) DeleteObject(old);
    const TEXTMETRICA metrics = MeasureFont(window, StatusFont);
    LineHeight = metrics.tmHeight + metrics.tmExternalLeading;
}

static void SetMenuItem(UINT id, bool enabled)
{
    EnableMenuItem(GetMenu(MainWindow), id, MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
}

static void StartUp(HWND window, const CREATESTRUCTA* creation)
{
    MainWindow = window;
    std::strcpy(StatusLines[0], "Varnolt");
    std::strcpy(StatusLines[1], "Version 1.00");
    MainWindowDpi = DpiOfWindow(window);
    MakeStatusFont(window);
    InitCommonControls();
    AppInstance = creation->hInstance;
    // Nothing composed yet: nothing to save, play or stop.
    SetMenuItem(IDM_SAVE, false);
    SetMenuItem(IDM_SAVEAS, false);
    SetMenuItem(IDM_EXPORTSCORE, false);
    SetMenuItem(IDM_PLAY, false);
    SetMenuItem(IDM_STOP, false);
    SetMenuItem(IDM_FORMS, false);
    ResetSettings();
    DrawRandomPool();
    CreateMainToolbar(window);
    CreatePieceView(window);
    InitSaveDialog();
    FindManuals();
}

// The text in the user's colours, on the background the class brush paints.
static void UseWindowColours(HDC dc)
{
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    SetBkColor(dc, GetSysColor(COLOR_WINDOW));
}

// The lines stand one empty line below the toolbar, and move down with it
// when it wraps into more rows.
static void PaintStatusLines(HWND window)
{
    RECT toolbar;
    GetClientRect(MainToolbar, &toolbar);
    int base = toolbar.bottom + LineHeight;
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    SelectObject(dc, StatusFont);
    UseWindowColours(dc);
    for (int i = 0; i < StatusLineCount; ++i)
        TextOutA(dc, 0, base + i * LineHeight, StatusLines[i], lstrlenA(StatusLines[i]));
    EndPaint(window, &paint);
}

// The window was moved to a monitor of another DPI, or the scaling was
// changed: it takes the place the system suggests, and its font, lines and
// toolbar are made again for the new DPI.
static void FollowDpi(HWND window, UINT dpi, const RECT& suggested)
{
    MainWindowDpi = dpi;
    MakeStatusFont(window);
    FitToolbarToDpi(dpi);
    SetWindowPos(window, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    PlacePieceView();
    InvalidateRect(window, nullptr, TRUE);
}

static void EnableAfterCompose()
{
    SetMenuItem(IDM_SAVEAS, true);
    SetMenuItem(IDM_EXPORTSCORE, true);
    SendMessageA(MainToolbar, TB_ENABLEBUTTON, IDB_BUTTON_SAVE, 1);
    if (HasSongFileName) SetMenuItem(IDM_SAVE, true);
    SetMenuItem(IDM_PLAY, true);
    SetMenuItem(IDM_FORMS, true);
    SendMessageA(MainToolbar, TB_ENABLEBUTTON, IDB_BUTTON_PLAY, 1);
    SendMessageA(MainToolbar, TB_ENABLEBUTTON, IDB_BUTTON_STOP, 0);
}

static void RouteCommand(HWND window, int id)
{
    switch (id) {
    case IDM_SAVE:
    case IDB_BUTTON_SAVE:
        // Even when this names the file for the first time, the menu's Save
        // waits for the next Compose or Save As.
        SaveSong(window);
        break;
    case IDM_SAVEAS:
        if (SaveSongAs(window)) SetMenuItem(IDM_SAVE, true);
        break;
    case IDM_EXPORTSCORE:
        ExportScore(window);
        break;
    case IDM_OPENSETTINGS:
        OpenSettings(window);
        break;
    case IDM_SAVESETTINGS:
        SaveSettings(window);
        break;
    case IDM_COMPOSE:
        Compose();
        ShowComposedPiece();
        EnableAfterCompose();
        break;
    case IDM_PLAY:
    case IDB_BUTTON_PLAY:
        if (StartPlayback()) FollowPiecePlayback();
        break;
    case IDM_STOP:
    case IDB_BUTTON_STOP:
        StopPlayback();
        break;
    case IDM_MATRIX:
        ShowMatrixDialog(window);
        break;
    case IDM_VOICES:
        ShowVoicesDialog(window);
        break;
    case IDM_OCTAVES:
        ShowOctavesDialog(window);
        break;
    case IDM_MIDI:
        ShowTempoDialog(window);
        break;
    case IDM_SERIES:
        ShowSeriesSheet(window);
        break;
    case IDM_FORMS:
        ShowFormsDialog(window);
        break;
    case IDM_ABOUT:
        ShowAboutBox(window);
        break;
    case IDM_HELPCONTENTS:
        ShowHelpContents(window);
        break;
    default:
        break;
    }
}

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        StartUp(window, (const CREATESTRUCTA*)lParam);
        return 0;
    case WM_SIZE:
        // The toolbar spans the new width. It may wrap into more rows or fewer
        // while it does; some toolbars take their new height only from the
        // second request.
        SendMessageA(MainToolbar, TB_AUTOSIZE, 0, 0);
        SendMessageA(MainToolbar, TB_AUTOSIZE, 0, 0);
        PlacePieceView();
        return 0;
    case WM_SETFOCUS:
        FocusPieceView();
        return 0;
    case WM_PAINT:
        PaintStatusLines(window);
        return 0;
    case WM_DPICHANGED:
        FollowDpi(window, HIWORD(wParam), *(const RECT*)lParam);
        return 0;
    case WM_SETTINGCHANGE:
        // The user chose another size for the text of the system's messages.
        if (wParam == SPI_SETNONCLIENTMETRICS) {
            MakeStatusFont(window);
            PlacePieceView();
            InvalidateRect(window, nullptr, TRUE);
        }
        return 0;
    case WM_SYSCOLORCHANGE:
        // The toolbar takes the new colours only when told, and the glyphs
        // are mapped to the button colours anew, High Contrast switched on or
        // off included.
        SendMessageA(MainToolbar, WM_SYSCOLORCHANGE, wParam, lParam);
        FitToolbarToDpi(MainWindowDpi);
        PlacePieceView();
        return 0;
    case WM_COMMAND:
        RouteCommand(window, LOWORD(wParam));
        return 0;
    case WM_NOTIFY:
        return AnswerToolbarNotice((NMHDR*)lParam);
    case WM_DESTROY:
        // A piece still playing must not outlive its window.
        EndPlaybackForExit();
        QuitHelp(window);
        PostQuitMessage(0);
        return 0;
    default:
        if (PieceViewTakesWheel(message, wParam, lParam)) return 0;
        return DefWindowProcA(window, message, wParam, lParam);
    }
}
