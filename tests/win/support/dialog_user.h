// Helpers for tests that drive the dialogs: the user at a modal dialog, played
// from a helper thread, and the places of controls in dialog units.
#pragma once
#include <windows.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>

// Waits on a helper thread (up to ten seconds) for a visible dialog with the
// given caption and hands it to the action, which runs on that thread. Start
// it before the call that runs the modal loop.
class DialogUser {
public:
    DialogUser(std::string caption, std::function<void(HWND)> action);
    ~DialogUser();
    bool Seen();  // waits for the thread; true when the dialog came and the action ran

private:
    std::string caption_;
    std::function<void(HWND)> action_;
    std::thread thread_;
    std::atomic<bool> seen_{false};
};

// A visible dialog owned by the window, such as the save dialog or the
// question it asks; null when there is none.
HWND FindOwnedDialog(HWND owner);

// True while a visible dialog with this caption exists.
bool DialogShowing(const char* caption);

// The control's place in the dialog's client area, in pixels, and the place
// that x, y, width, height in dialog units come to in that dialog.
RECT ControlPlace(HWND dialog, int id);
RECT ControlPlace(HWND dialog, HWND control);
RECT DialogUnits(HWND dialog, int x, int y, int width, int height);
bool SameRect(const RECT& a, const RECT& b);

// Sends the key to the dialog's current focus the way a modeless dialog's
// message loop would, through IsDialogMessage.
void PressDialogKey(HWND dialog, WPARAM key);

std::string ControlText(HWND dialog, int id);
std::string ListText(HWND list, int position);

// Runs queued messages for the calling thread's windows.
void PumpMessages();
