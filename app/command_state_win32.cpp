// Play, Stop and Compose as playback starts and ends. The end of a piece is
// shown from the playback timer's thread, so the toolbar is told without
// waiting for the window's thread: that thread may itself be waiting for the
// timer, and neither would ever go on.
#include <windows.h>
#include <commctrl.h>

#include "app/app_win32.h"
#include "dialogs/dialogs_win32.h"
#include "midi/command_state.h"
#include "resources/resource.h"

static void ShowCommands(bool playing)
{
    HMENU menu = GetMenu(MainWindow);
    UINT idle = playing ? MF_GRAYED : MF_ENABLED;
    UINT busy = playing ? MF_ENABLED : MF_GRAYED;
    EnableMenuItem(menu, IDM_PLAY, MF_BYCOMMAND | idle);
    EnableMenuItem(menu, IDM_COMPOSE, MF_BYCOMMAND | idle);
    EnableMenuItem(menu, IDM_STOP, MF_BYCOMMAND | busy);
    SendNotifyMessageA(MainToolbar, TB_ENABLEBUTTON, IDB_BUTTON_PLAY, playing ? 0 : 1);
    SendNotifyMessageA(MainToolbar, TB_ENABLEBUTTON, IDB_BUTTON_STOP, playing ? 1 : 0);
    ShowFormsPlayState();
}

void ShowCommandsPlaying()
{
    ShowCommands(true);
}

void ShowCommandsIdle()
{
    ShowCommands(false);
}
