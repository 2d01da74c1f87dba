#include <gtest/gtest.h>

#include <windows.h>

#include "app/app_win32.h"
#include "dialogs/dialogs_win32.h"
#include "resources/resource.h"
#include "tests/win/support/dialog_user.h"

namespace {

// Each way out, through the real modal loop, closes the box.
TEST(AboutBox, EveryWayOfClosingEndsIt)
{
    AppInstance = GetModuleHandleA(nullptr);

    struct Way {
        const char* name;
        void (*close)(HWND);
    };
    const Way ways[] = {
        {"OK", [](HWND d) { PostMessageA(d, WM_COMMAND, IDOK, 0); }},
        {"Cancel", [](HWND d) { PostMessageA(d, WM_COMMAND, IDCANCEL, 0); }},
        {"Escape", [](HWND d) { PostMessageA(d, WM_KEYDOWN, VK_ESCAPE, 0); }},
        {"close box", [](HWND d) { PostMessageA(d, WM_SYSCOMMAND, SC_CLOSE, 0); }},
    };
    for (const Way& way : ways) {
        DialogUser user("About", way.close);
        ShowAboutBox(nullptr);
        EXPECT_TRUE(user.Seen()) << way.name;
        EXPECT_FALSE(DialogShowing("About")) << way.name;
    }
}

}  // namespace
