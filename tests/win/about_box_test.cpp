#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>

#include "app/app_win32.h"
#include "dialogs/dialogs_win32.h"
#include "resources/resource.h"
#include "settings/settings.h"
#include "tests/win/support/dialog_user.h"

namespace {

HWND OpenAbout()
{
    return CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_ABOUT), nullptr,
                              AboutDialogProc, 0);
}

TEST(AboutBox, ShowsNameAndVersionWhereTheLayoutPutsThem)
{
    HWND dialog = OpenAbout();
    ASSERT_NE(dialog, nullptr);
    char caption[32] = "";
    GetWindowTextA(dialog, caption, sizeof caption);
    EXPECT_STREQ(caption, "About");
    EXPECT_EQ(ControlText(dialog, IDC_ABOUT_NAME), "Varnolt");
    EXPECT_EQ(ControlText(dialog, IDC_ABOUT_VERSION), "Version 1.00");
    EXPECT_EQ(ControlText(dialog, IDOK), "OK");
    EXPECT_EQ(ControlText(dialog, IDCANCEL), "Cancel");
    EXPECT_TRUE(SameRect(ControlPlace(dialog, IDC_ABOUT_NAME), DialogUnits(dialog, 7, 10, 113, 11)));
    EXPECT_TRUE(SameRect(ControlPlace(dialog, IDC_ABOUT_VERSION), DialogUnits(dialog, 7, 20, 113, 11)));
    EXPECT_TRUE(SameRect(ControlPlace(dialog, IDOK), DialogUnits(dialog, 130, 7, 50, 14)));
    EXPECT_TRUE(SameRect(ControlPlace(dialog, IDCANCEL), DialogUnits(dialog, 130, 24, 50, 14)));
    RECT client{};
    GetClientRect(dialog, &client);
    EXPECT_TRUE(SameRect(client, DialogUnits(dialog, 0, 0, 187, 95)));
    EXPECT_EQ(GetWindowLongA(GetDlgItem(dialog, IDOK), GWL_STYLE) & BS_TYPEMASK, BS_DEFPUSHBUTTON);
    DestroyWindow(dialog);
}

// Each way out, through the real modal loop: the box closes and the settings
// are exactly what they were.
TEST(AboutBox, EveryWayOfClosingEndsItAndChangesNothing)
{
    AppInstance = GetModuleHandleA(nullptr);
    ResetSettings();
    Settings.VoiceActive[6] = 1;
    Settings.FormSelection[3][40] = 1;
    WriteTempoIndex(9);
    CompositionSettings before;
    std::memcpy(&before, &Settings, sizeof before);

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
        EXPECT_EQ(std::memcmp(&before, &Settings, sizeof before), 0) << way.name;
    }
}

}  // namespace
