// Helpers for tests that drive the dialogs: the user at a modal dialog, played
// from a helper thread, keys typed into the focused control, and the message
// pump of the test's own thread.
#pragma once
#include <windows.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>

// Waits on a helper thread (up to ten seconds) for a visible dialog, found by
// its caption or by the window that owns it, and hands it to the action,
// which runs on that thread. Start it before the call that runs the modal loop.
class DialogUser {
public:
    DialogUser(std::string caption, std::function<void(HWND)> action);
    DialogUser(HWND owner, std::function<void(HWND)> action);
    ~DialogUser();
    // Stops watching and waits for the thread; true when the dialog came.
    bool Seen();

private:
    void Watch(std::function<HWND()> find);

    std::function<void(HWND)> action_;
    std::atomic<bool> stop_{false};
    std::atomic<bool> seen_{false};
    std::thread thread_;
};

// A visible dialog owned by the window, such as the save dialog or the
// question it asks; null when there is none.
HWND FindOwnedDialog(HWND owner);

// True while a visible dialog with this caption exists.
bool DialogShowing(const char* caption);

// Sends the key to the dialog's current focus the way a modeless dialog's
// message loop would, through IsDialogMessage.
void PressDialogKey(HWND dialog, WPARAM key);

// Types the keys into the control that has the focus, one WM_CHAR each, as
// the keyboard would: each goes where the caret stands then.
void TypeKeys(const std::string& keys);
// Gives the edit the focus, selects from..to in it (-1: the end of its text)
// and types the keys there.
void TypeInEdit(HWND edit, const std::string& keys, int from = -1, int to = -1);

std::string ControlText(HWND dialog, int id);
std::string ListText(HWND list, int position);

// Runs the messages of the calling thread's windows for the given time, or
// until the condition holds; true when it held. A WM_QUIT met on the way is
// left in the queue.
bool PumpUntil(const std::function<bool()>& done, int milliseconds);
void Pump(int milliseconds);
void PumpMessages();  // those queued now
