#include "tests/win/support/save_dialog_user.h"

SaveDialogUser::SaveDialogUser(HWND owner, Action action, std::string name)
    : action_(action), name_(std::move(name)), user_(owner, [this](HWND dialog) { Answer(dialog); })
{
}

bool SaveDialogUser::Stop()
{
    return user_.Seen();
}

bool SaveDialogUser::AskedToReplace()
{
    Stop();
    return askedToReplace_;
}

void SaveDialogUser::Answer(HWND dialog)
{
    if (action_ == Cancel) {
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        return;
    }
    for (int i = 0; i < 500 && !GetDlgItem(dialog, SaveDialogNameBox); ++i) Sleep(10);
    SetDlgItemTextA(dialog, SaveDialogNameBox, name_.c_str());
    PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    // An existing file brings a question owned by the dialog; none comes
    // otherwise and the dialog closes.
    for (int i = 0; i < 300 && IsWindow(dialog); ++i) {
        if (HWND question = FindOwnedDialog(dialog)) {
            askedToReplace_ = true;
            PostMessageA(question, WM_COMMAND, IDYES, 0);
            return;
        }
        Sleep(10);
    }
}
