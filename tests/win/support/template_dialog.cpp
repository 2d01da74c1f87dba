#include "tests/win/support/template_dialog.h"

#include "settings/settings.h"
#include "tests/win/support/dialog_user.h"

void TemplateDialogTest::SetUp()
{
    ResetSettings();
}

void TemplateDialogTest::TearDown()
{
    if (dialog_) DestroyWindow(dialog_);
    dialog_ = nullptr;
}

HWND TemplateDialogTest::Open()
{
    TearDown();
    dialog_ = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(templateId_), nullptr, procedure_, 0);
    if (dialog_) ShowWindow(dialog_, SW_SHOW);
    return dialog_;
}

void TemplateDialogTest::Command(int id)
{
    SendMessageA(dialog_, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)GetDlgItem(dialog_, id));
}

const char* const TemplateDialogTest::WayNames[3] = {"Cancel", "Escape", "close box"};

void TemplateDialogTest::LeaveWithoutOk(int way)
{
    if (way == 0) Command(IDCANCEL);
    if (way == 1) PressDialogKey(dialog_, VK_ESCAPE);
    if (way == 2) SendMessageA(dialog_, WM_SYSCOMMAND, SC_CLOSE, 0);
    PumpMessages();  // the close box's cancel comes through the queue
}

bool TemplateDialogTest::Showing()
{
    return dialog_ && IsWindowVisible(dialog_) != FALSE;
}
