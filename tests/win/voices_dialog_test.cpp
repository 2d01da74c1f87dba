#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <string>

#include "app/app_win32.h"
#include "dialogs/dialogs_win32.h"
#include "settings/program_names.h"
#include "engine/compose.h"
#include "engine/random.h"
#include "events/events.h"
#include "resources/resource.h"
#include "settings/settings.h"
#include "tests/win/support/dialog_user.h"
#include "tests/win/support/message_box.h"
#include "tests/win/support/template_dialog.h"

namespace {

// The layout's own numbering, voice v counted from 1.
int CheckId(int v) { return v <= 12 ? 1024 + v : 1040 + v; }
int ListId(int v) { return 1036 + v; }

class VoicesDialog : public TemplateDialogTest {
protected:
    VoicesDialog() : TemplateDialogTest(IDD_VOICES, VoicesDialogProc) {}
    HWND List(int v) { return GetDlgItem(dialog_, ListId(v)); }
    bool Checked(int v) { return SendMessageA(GetDlgItem(dialog_, CheckId(v)), BM_GETCHECK, 0, 0) == BST_CHECKED; }
    void Click(int v) { SendMessageA(GetDlgItem(dialog_, CheckId(v)), BM_CLICK, 0, 0); }
    std::string Shown(int v) { return ListText(List(v), (int)SendMessageA(List(v), LB_GETCURSEL, 0, 0)); }
    void Type(int v, const char* keys) { for (; *keys; ++keys) SendMessageA(List(v), WM_CHAR, (WPARAM)*keys, 0); }
    void Choose(int v, const char* name)
    {
        const LRESULT position = SendMessageA(List(v), LB_FINDSTRINGEXACT, (WPARAM)-1, (LPARAM)name);
        ASSERT_GE(position, 0) << name;
        SendMessageA(List(v), LB_SETCURSEL, (WPARAM)position, 0);
    }
};

TEST_F(VoicesDialog, DefaultsShowVoiceOneAndPianosEverywhere)
{
    ASSERT_NE(Open(), nullptr);
    for (int v = 1; v <= VoiceCount; ++v) {
        EXPECT_EQ(ControlText(dialog_, CheckId(v)), std::to_string(v));
        EXPECT_EQ(Checked(v), v == 1) << "voice " << v;
        if (v == 10) continue;
        ASSERT_EQ(SendMessageA(List(v), LB_GETCOUNT, 0, 0), ProgramCount) << "voice " << v;
        EXPECT_EQ(Shown(v), "acousticgrandpiano") << "voice " << v;
        for (int p = 0; p < ProgramCount; ++p)
            ASSERT_EQ(ListText(List(v), p), ProgramNameTable[p]) << "voice " << v << " program " << p;
    }
}

TEST_F(VoicesDialog, OkWithoutChangesKeepsEveryVoiceAsItWas)
{
    const int active[VoiceCount] = {0, 1, 1, 0, 0, 0, 1, 0, 0, 1, 0, 0, 0, 0, 1, 1};
    for (int i = 0; i < VoiceCount; ++i) {
        Settings.VoiceActive[i] = active[i];
        Settings.VoiceInstrument[i] = i == 9 ? 0 : 8 * i + 3;
    }
    CompositionSettings before;
    std::memcpy(&before, &Settings, sizeof before);
    ASSERT_NE(Open(), nullptr);
    for (int v = 1; v <= VoiceCount; ++v) {
        EXPECT_EQ(Checked(v), active[v - 1] == 1) << v;
        if (v != 10) {
            EXPECT_EQ(Shown(v), ProgramNameTable[8 * (v - 1) + 3]) << v;
        }
    }
    Command(IDOK);
    EXPECT_EQ(std::memcmp(&before, &Settings, sizeof before), 0);
}

// Chosen by typing their names quickly, as a user finds them.
TEST_F(VoicesDialog, ChosenInstrumentsAreStoredAsProgramNumbers)
{
    ASSERT_NE(Open(), nullptr);
    Type(16, "gunshot");
    Type(1, "accordian");
    Command(IDOK);
    for (int i = 0; i < VoiceCount; ++i) {
        const int expected = i == 15 ? 127 : i == 0 ? 21 : 0;
        EXPECT_EQ(Settings.VoiceInstrument[i], expected) << "voice " << i + 1;
    }
    EXPECT_EQ(Settings.VoiceActive[0], 1);
}

TEST_F(VoicesDialog, CancelEscapeAndTheCloseBoxStoreNothing)
{
    CompositionSettings before;
    std::memcpy(&before, &Settings, sizeof before);
    for (int way = 0; way < 3; ++way) {
        ASSERT_NE(Open(), nullptr);
        Click(1);
        Click(5);
        Choose(3, "sitar");
        LeaveWithoutOk(way);
        EXPECT_FALSE(Showing()) << WayNames[way];
        EXPECT_EQ(std::memcmp(&before, &Settings, sizeof before), 0) << WayNames[way];
    }
}

// One voice at a time: its check box and its list write its own entries only.
TEST_F(VoicesDialog, EveryControlWritesItsOwnVoice)
{
    for (int v = 1; v <= VoiceCount; ++v) {
        ResetSettings();
        Settings.VoiceActive[0] = 0;
        ASSERT_NE(Open(), nullptr);
        Click(v);
        if (v != 10) SendMessageA(List(v), LB_SETCURSEL, (WPARAM)(40 + v), 0);
        Command(IDOK);
        for (int i = 0; i < VoiceCount; ++i) {
            EXPECT_EQ(Settings.VoiceActive[i], i == v - 1 ? 1 : 0) << v << "," << i;
            EXPECT_EQ(Settings.VoiceInstrument[i], i == v - 1 && v != 10 ? 40 + v : 0) << v << "," << i;
        }
    }
}

TEST_F(VoicesDialog, UncheckingEveryVoiceIsAccepted)
{
    for (int i = 0; i < VoiceCount; ++i) Settings.VoiceActive[i] = 1;
    ASSERT_NE(Open(), nullptr);
    for (int v = 1; v <= VoiceCount; ++v) Click(v);
    Command(IDOK);
    for (int i = 0; i < VoiceCount; ++i) EXPECT_EQ(Settings.VoiceActive[i], 0) << i;
    EXPECT_FALSE(MessageBoxShowing());
}

// Voice 10 has no instrument of its own: whatever its entry held, the dialog
// puts 0 there, and Compose sends program 0 on the percussion channel.
TEST_F(VoicesDialog, PercussionVoiceGetsProgramZeroAtTheNextCompose)
{
    Settings.VoiceInstrument[9] = 33;
    ASSERT_NE(Open(), nullptr);
    Click(10);
    Command(IDOK);
    EXPECT_EQ(Settings.VoiceActive[9], 1);
    EXPECT_EQ(Settings.VoiceInstrument[9], 0);

    DrawRandomPool();
    Compose();
    EventList* list = &VoiceTracks[9].Events;
    ASSERT_FALSE(IsEnd(list, FirstEvent(list)));
    const Event* first = FirstEvent(list);
    EXPECT_EQ(first->Kind, ProgramChange);
    EXPECT_EQ(first->Channel, 9);
    EXPECT_EQ(first->Data[0], 0);
}

TEST_F(VoicesDialog, ShowVoicesDialogRunsModallyAndStoresOnOk)
{
    AppInstance = GetModuleHandleA(nullptr);
    DialogUser user("Voices", [](HWND dialog) {
        SendMessageA(GetDlgItem(dialog, CheckId(13)), BM_SETCHECK, BST_CHECKED, 0);
        SendMessageA(GetDlgItem(dialog, ListId(13)), LB_SETCURSEL, 73, 0);
        PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    });
    ShowVoicesDialog(nullptr);
    EXPECT_TRUE(user.Seen());
    EXPECT_EQ(Settings.VoiceActive[12], 1);
    EXPECT_EQ(Settings.VoiceInstrument[12], 73);
    EXPECT_FALSE(DialogShowing("Voices"));
}

}  // namespace

