#include "tests/win/support/dialog_user.h"

#include <cstring>
#include <vector>

static HWND FindVisibleDialog(const std::string& caption)
{
    HWND dialog = FindWindowA("#32770", caption.c_str());
    return dialog && IsWindowVisible(dialog) ? dialog : nullptr;
}

DialogUser::DialogUser(std::string caption, std::function<void(HWND)> action) : action_(std::move(action))
{
    Watch([caption] { return FindVisibleDialog(caption); });
}

DialogUser::DialogUser(HWND owner, std::function<void(HWND)> action) : action_(std::move(action))
{
    Watch([owner] { return FindOwnedDialog(owner); });
}

void DialogUser::Watch(std::function<HWND()> find)
{
    thread_ = std::thread([this, find] {
        for (int i = 0; i < 1000 && !stop_; ++i) {
            if (HWND dialog = find()) {
                seen_ = true;
                action_(dialog);
                return;
            }
            Sleep(10);
        }
    });
}

DialogUser::~DialogUser()
{
    Seen();
}

bool DialogUser::Seen()
{
    stop_ = true;
    if (thread_.joinable()) thread_.join();
    return seen_;
}

struct OwnedSearch {
    HWND owner;
    HWND found;
};

static BOOL CALLBACK MatchOwnedDialog(HWND window, LPARAM param)
{
    OwnedSearch* search = reinterpret_cast<OwnedSearch*>(param);
    char name[16] = "";
    GetClassNameA(window, name, sizeof name);
    if (std::strcmp(name, "#32770") == 0 && IsWindowVisible(window) && GetWindow(window, GW_OWNER) == search->owner) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

HWND FindOwnedDialog(HWND owner)
{
    OwnedSearch search{owner, nullptr};
    EnumWindows(MatchOwnedDialog, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

bool DialogShowing(const char* caption)
{
    return FindVisibleDialog(caption) != nullptr;
}

void PressDialogKey(HWND dialog, WPARAM key)
{
    HWND focus = GetFocus();
    MSG message{};
    message.hwnd = focus && (focus == dialog || IsChild(dialog, focus)) ? focus : dialog;
    message.message = WM_KEYDOWN;
    message.wParam = key;
    if (!IsDialogMessageA(dialog, &message)) DispatchMessageA(&message);
}

void TypeKeys(const std::string& keys)
{
    for (char key : keys) SendMessageA(GetFocus(), WM_CHAR, (WPARAM)(unsigned char)key, 0);
}

void TypeInEdit(HWND edit, const std::string& keys, int from, int to)
{
    SetFocus(edit);
    const int end = GetWindowTextLengthA(edit);
    SendMessageA(edit, EM_SETSEL, from < 0 ? end : from, to < 0 ? end : to);
    TypeKeys(keys);
}

std::string ControlText(HWND dialog, int id)
{
    char text[256] = "";
    GetDlgItemTextA(dialog, id, text, sizeof text);
    return text;
}

std::string ListText(HWND list, int position)
{
    const LRESULT length = SendMessageA(list, LB_GETTEXTLEN, (WPARAM)position, 0);
    if (length < 0) return "<none>";
    std::vector<char> text((size_t)length + 1, '\0');
    SendMessageA(list, LB_GETTEXT, (WPARAM)position, (LPARAM)text.data());
    return text.data();
}

bool PumpUntil(const std::function<bool()>& done, int milliseconds)
{
    const DWORD start = GetTickCount();
    for (;;) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) {
                PostQuitMessage((int)message.wParam);  // keep it for whoever looks next
                break;
            }
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        if (done && done()) return true;
        if ((int)(GetTickCount() - start) >= milliseconds) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

void Pump(int milliseconds)
{
    PumpUntil(nullptr, milliseconds);
}

void PumpMessages()
{
    PumpUntil(nullptr, 0);
}
