// The user at the program's save dialog, played from a helper thread.
#pragma once
#include <windows.h>

#include <atomic>
#include <string>

#include "tests/win/support/dialog_user.h"

// The name box of the save dialog as Wine shows it (the Explorer style).
enum { SaveDialogNameBox = 0x47c };

// Waits for a dialog owned by the owner, then types a name and presses Save
// (answering Yes when asked to replace a file), or cancels. It gives up when
// Stop is called or after ten seconds.
class SaveDialogUser {
public:
    enum Action { TypeName, Cancel };

    SaveDialogUser(HWND owner, Action action, std::string name = "");

    // Ends the watch; true when a save dialog came up.
    bool Stop();
    bool AskedToReplace();

private:
    void Answer(HWND dialog);

    Action action_;
    std::string name_;
    std::atomic<bool> askedToReplace_{false};
    DialogUser user_;  // last: its thread uses the members above
};
