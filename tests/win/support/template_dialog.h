// A fixture for the tests of one settings dialog, made from its real template
// with its real procedure, modeless so that the test can drive it.
#pragma once
#include <gtest/gtest.h>

#include <windows.h>

class TemplateDialogTest : public ::testing::Test {
protected:
    TemplateDialogTest(int templateId, DLGPROC procedure) : templateId_(templateId), procedure_(procedure) {}
    void SetUp() override;     // the settings back to their defaults
    void TearDown() override;  // the dialog destroyed
    // Opens and shows the dialog afresh; null when it cannot be made.
    HWND Open();
    // A click of the button with this id, as the dialog gets it.
    void Command(int id);
    bool Showing();
    // Leaves the dialog without OK: way 0 is Cancel, 1 Escape, 2 the close box.
    void LeaveWithoutOk(int way);
    static const char* const WayNames[3];

    HWND dialog_ = nullptr;

private:
    int templateId_;
    DLGPROC procedure_;
};
