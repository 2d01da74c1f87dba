#include "tests/win/support/message_box.h"

#include <windows.h>

static HWND FindBox()
{
    HWND box = FindWindowA("#32770", "Varnolt");
    return box && IsWindowVisible(box) && GetDlgItem(box, 0xFFFF) ? box : nullptr;
}

MessageBoxWatcher::MessageBoxWatcher()
{
    thread_ = std::thread([this] {
        for (int i = 0; i < 500; ++i) {
            HWND box = FindBox();
            if (box) {
                char buf[256] = "";
                GetDlgItemTextA(box, 0xFFFF, buf, sizeof buf);
                text_ = buf;
                PostMessageA(box, WM_COMMAND, IDOK, 0);
                return;
            }
            Sleep(10);
        }
    });
}

MessageBoxWatcher::~MessageBoxWatcher()
{
    if (!joined_) thread_.join();
}

std::string MessageBoxWatcher::Text()
{
    if (!joined_) {
        thread_.join();
        joined_ = true;
    }
    return text_;
}

bool MessageBoxShowing()
{
    return FindBox() != nullptr;
}
