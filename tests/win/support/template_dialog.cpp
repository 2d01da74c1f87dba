#include "tests/win/support/template_dialog.h"

#include "settings/settings.h"

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

bool TemplateDialogTest::Showing()
{
    return dialog_ && IsWindowVisible(dialog_) != FALSE;
}
