// Help > Contents. Where the system has a viewer for the help file's format,
// the help file opens in it at its contents; elsewhere the same manual, as one
// web page, opens in the user's web browser.
#include "app/help_win32.h"

#include <shellapi.h>

#include <string>

#include "app/help_viewer.h"
#include "app/report_error.h"
#include "midi/file_write.h"

// Both lie beside the folder the program starts in. Their whole paths are
// taken once, at start: the save dialog moves the current folder to wherever
// the user saves, and the files must still be found after that.
static const char HelpFile[] = "../Help/varnolt100.hlp";
static const char ManualFile[] = "../manual.html";
static char HelpPath[LongestPathBytes];
static char ManualPath[LongestPathBytes];
static bool HelpAsked;

// A path too long to make whole stays as it is, relative.
static void MakeWhole(const char* file, char* path)
{
    DWORD length = GetFullPathNameA(file, LongestPathBytes, path, nullptr);
    if (length == 0 || length >= LongestPathBytes) lstrcpynA(path, file, LongestPathBytes);
}

void FindManuals()
{
    MakeWhole(HelpFile, HelpPath);
    MakeWhole(ManualFile, ManualPath);
}

struct ViewerSearch {
    DWORD Process;
    bool Shown;
};

static BOOL CALLBACK MatchViewerWindow(HWND window, LPARAM param)
{
    ViewerSearch* search = reinterpret_cast<ViewerSearch*>(param);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process == search->Process && IsWindowVisible(window)) search->Shown = true;
    return !search->Shown;
}

// True when the help viewer (whose hidden window has the class the system
// gives it) shows a window the user can see.
static bool HelpViewerShowsAWindow()
{
    HWND viewer = FindWindowA("MS_WINHELP", nullptr);
    if (!viewer) return false;
    ViewerSearch search{0, false};
    GetWindowThreadProcessId(viewer, &search.Process);
    EnumWindows(MatchViewerWindow, reinterpret_cast<LPARAM>(&search));
    return search.Shown;
}

// The viewer may show nothing of its own, for instance after telling the
// user in a box that it cannot find the file: then the window the user came
// from is made the active one again, so that its menu answers the keyboard.
// The system may date the request by the last message this thread took,
// which is older than the viewer's box: a message taken just now makes it
// newer.
static void ShowInViewer(HWND window)
{
    HelpAsked = true;
    WinHelpA(window, HelpPath, HELP_FINDER, 0);
    if (HelpViewerShowsAWindow()) return;
    MSG fresh;
    PostMessageA(window, WM_APP, 0, 0);
    PeekMessageA(&fresh, window, WM_APP, WM_APP, PM_REMOVE);
    SetActiveWindow(nullptr);
    SetForegroundWindow(window);
}

static void ReportManual(const char* text)
{
    std::string message = text;
    message += ManualPath;
    ReportError(message.c_str());
}

// A missing file is told as such: some browsers would open an empty page or
// a search instead. Nothing else would tell the user that the manual did not
// open.
static void ShowInBrowser(HWND window)
{
    DWORD attributes = GetFileAttributesA(ManualPath);
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        ReportManual("ERROR: Cannot find the manual ");
        return;
    }
    HINSTANCE result = ShellExecuteA(window, "open", ManualPath, nullptr, nullptr, SW_SHOWNORMAL);
    if (reinterpret_cast<INT_PTR>(result) <= 32) ReportManual("ERROR: Cannot open the manual ");
}

void ShowHelpContents(HWND window)
{
    if (SystemHasHelpViewer())
        ShowInViewer(window);
    else
        ShowInBrowser(window);
}

void QuitHelp(HWND window)
{
    if (HelpAsked) WinHelpA(window, HelpPath, HELP_QUIT, 0);
}
