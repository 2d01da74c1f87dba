#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "dialogs/dialogs_win32.h"
#include "resources/resource.h"
#include "settings/settings.h"
#include "tests/win/support/dialog_user.h"
#include "tests/win/support/message_box.h"
#include "tests/win/support/template_dialog.h"

namespace {

class OctavesDialog : public TemplateDialogTest {
protected:
    OctavesDialog() : TemplateDialogTest(IDD_OCTAVES, OctavesDialogProc) {}
    void SetUp() override
    {
        TemplateDialogTest::SetUp();
        ASSERT_NE(Open(), nullptr);
    }
    HWND Octave(int i) { return GetDlgItem(dialog_, IDC_OCTAVE_FIRST + i); }
    std::string Text(int i) { return ControlText(dialog_, IDC_OCTAVE_FIRST + i); }
    void ExpectAllOctaves(int32_t expected)
    {
        for (int i = 0; i < VoiceCount; ++i) EXPECT_EQ(Settings.VoiceOctave[i], expected) << i;
    }
};

TEST_F(OctavesDialog, OpensWithTheCurrentOctaves)
{
    for (int i = 0; i < VoiceCount; ++i) EXPECT_EQ(Text(i), "5") << i;
    for (int i = 0; i < VoiceCount; ++i) Settings.VoiceOctave[i] = i % 9;
    Open();
    for (int i = 0; i < VoiceCount; ++i) EXPECT_EQ(Text(i), std::to_string(i % 9)) << i;
}

TEST_F(OctavesDialog, LiveCheckKeepsTheLastAcceptedText)
{
    HWND edit = Octave(3);
    TypeInEdit(edit, "7", 0);
    TypeInEdit(edit, "x");
    EXPECT_EQ(Text(3), "7");
    TypeInEdit(edit, "9", 0);
    EXPECT_EQ(Text(3), "7");
    SetWindowTextA(edit, "-1");
    EXPECT_EQ(Text(3), "7");

    // Keys typed one after another: after the refused "9" the caret stays
    // behind the "0", so the "8" follows it.
    SetWindowTextA(edit, "");
    TypeInEdit(edit, "098");
    EXPECT_EQ(Text(3), "08");
    Command(IDOK);
    EXPECT_EQ(Settings.VoiceOctave[3], 8);
}

TEST_F(OctavesDialog, OkWritesAllSixteenFromTheirFirstTwoCharacters)
{
    SetWindowTextA(Octave(0), "08");
    SetWindowTextA(Octave(1), "012");
    EXPECT_EQ(Text(1), "012");
    SetWindowTextA(Octave(2), "0");
    SetWindowTextA(Octave(15), "3");
    Command(IDOK);
    EXPECT_FALSE(Showing());
    const int32_t expected[VoiceCount] = {8, 1, 0, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 3};
    for (int i = 0; i < VoiceCount; ++i) EXPECT_EQ(Settings.VoiceOctave[i], expected[i]) << i;
}

TEST_F(OctavesDialog, AnEmptyFieldIsReportedByItsIndexAndNothingIsWritten)
{
    for (int i = 1; i < VoiceCount; ++i) SetWindowTextA(Octave(i), "2");
    SetWindowTextA(Octave(0), "");
    SetWindowTextA(Octave(15), "");
    for (const char* expected : {"ERROR: Invalid octave 0", "ERROR: Invalid octave 15"}) {
        MessageBoxWatcher watcher;
        Command(IDOK);
        EXPECT_EQ(watcher.Text(), expected);
        EXPECT_TRUE(Showing());
        ExpectAllOctaves(5);
        SetWindowTextA(Octave(0), "4");
    }
    EXPECT_EQ(Text(3), "2");
}

TEST_F(OctavesDialog, CancelEscapeAndTheCloseBoxWriteNothing)
{
    for (int way = 0; way < 3; ++way) {
        Open();
        for (int i = 0; i < VoiceCount; ++i) TypeInEdit(Octave(i), "1", 0);
        LeaveWithoutOk(way);
        EXPECT_FALSE(Showing()) << WayNames[way];
        ExpectAllOctaves(5);
    }
}

TEST_F(OctavesDialog, ShowOctavesDialogRunsModallyUntilOk)
{
    TearDown();
    DialogUser user("Octaves", [](HWND shown) {
        SetDlgItemTextA(shown, IDC_OCTAVE_FIRST + 9, "6");
        PostMessageA(shown, WM_COMMAND, IDOK, 0);
    });
    ShowOctavesDialog(nullptr);
    EXPECT_TRUE(user.Seen());
    EXPECT_EQ(Settings.VoiceOctave[9], 6);
    EXPECT_EQ(Settings.VoiceOctave[8], 5);
}

}  // namespace
