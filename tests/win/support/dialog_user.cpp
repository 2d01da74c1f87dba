#include "tests/win/support/dialog_user.h"

#include <cstring>
#include <vector>

static HWND FindVisibleDialog(const std::string& caption)
{
    HWND dialog = FindWindowA("#32770", caption.c_str());
    return dialog && IsWindowVisible(dialog) ? dialog : nullptr;
}

DialogUser::DialogUser(std::string caption, std::function<void(HWND)> action)
    : caption_(std::move(caption)), action_(std::move(action))
{
    thread_ = std::thread([this] {
        for (int i = 0; i < 1000; ++i) {
            if (HWND dialog = FindVisibleDialog(caption_)) {
                action_(dialog);
                seen_ = true;
                return;
            }
            Sleep(10);
        }
    });
}

DialogUser::~DialogUser()
{
    if (thread_.joinable()) thread_.join();
}

bool DialogUser::Seen()
{
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

RECT ControlPlace(HWND dialog, HWND control)
{
    RECT place{};
    GetWindowRect(control, &place);
    MapWindowPoints(HWND_DESKTOP, dialog, reinterpret_cast<POINT*>(&place), 2);
    return place;
}

RECT ControlPlace(HWND dialog, int id)
{
    return ControlPlace(dialog, GetDlgItem(dialog, id));
}

RECT DialogUnits(HWND dialog, int x, int y, int width, int height)
{
    // The dialog manager converts the origin and the size each on its own.
    RECT units{x, y, width, height};
    MapDialogRect(dialog, &units);
    return RECT{units.left, units.top, units.left + units.right, units.top + units.bottom};
}

bool SameRect(const RECT& a, const RECT& b)
{
    return EqualRect(&a, &b) != FALSE;
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

void PumpMessages()
{
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}
