// Every dialog template and every menu in the program's resources, read as a
// screen reader and the keyboard meet them. The system's dialog manager makes
// each dialog from its template, so its controls stand in the template's
// order with the classes and texts the user gets, whatever form the template
// was written in.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cctype>
#include <set>
#include <string>

namespace {

std::string Text(HWND window)
{
    char text[256] = "";
    GetWindowTextA(window, text, sizeof text);
    return text;
}

bool Is(HWND window, const char* className)
{
    char name[64] = "";
    GetClassNameA(window, name, sizeof name);
    return !_stricmp(name, className);
}

// Adds the text's underlined letter to those seen: a fault when seen before,
// or when the text must have one and has none.
void NoteLetter(std::string& seen, const std::string& text, const std::string& where, bool required)
{
    for (size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != '&' || text[++i] == '&') continue;
        const char letter = (char)std::toupper((unsigned char)text[i]);
        if (seen.find(letter) != std::string::npos) ADD_FAILURE() << where + ": " + text + " underlines it again";
        seen += letter;
        return;
    }
    if (required) ADD_FAILURE() << where + ": " + text + " underlines nothing";
}

// A button says its own text, any other control the text of the nearest
// static before it. A bare number there tells a position, not what the
// control is for.
BOOL CALLBACK CheckDialog(HMODULE module, LPCSTR, LPSTR name, LONG_PTR)
{
    const std::string where = "dialog " + std::to_string((ULONG_PTR)name);
    HWND dialog = CreateDialogParamA(module, name, GetDesktopWindow(), nullptr, 0);
    if (!dialog) ADD_FAILURE() << where + " cannot be made";
    std::set<std::string> names;
    std::string letters, label;
    for (HWND control = GetWindow(dialog, GW_CHILD); control; control = GetWindow(control, GW_HWNDNEXT)) {
        const bool button = Is(control, "Button"), isLabel = Is(control, "Static");
        if (button || isLabel) NoteLetter(letters, Text(control), where, false);
        if (isLabel) {
            label = Text(control);
            continue;
        }
        const std::string said = button ? Text(control) : label;
        const bool meaningful =
            button ? !said.empty() : std::any_of(said.begin(), said.end(), [](unsigned char c) { return std::isalpha(c); });
        if (!meaningful || !names.insert(said).second)
            ADD_FAILURE() << where + ": control " + std::to_string(GetDlgCtrlID(control)) + " is \"" + said + "\"";
    }
    DestroyWindow(dialog);
    return TRUE;
}

// Every item has an underlined letter, none shared within its menu.
void CheckMenu(HMENU menu, const std::string& where)
{
    std::string letters;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        char text[128] = "";
        if (!GetMenuStringA(menu, (UINT)i, text, sizeof text, MF_BYPOSITION)) continue;  // a separator
        NoteLetter(letters, text, where, true);
        if (HMENU items = GetSubMenu(menu, i)) CheckMenu(items, where + " > " + text);
    }
}

BOOL CALLBACK CheckMenuResource(HMODULE module, LPCSTR, LPSTR name, LONG_PTR)
{
    HMENU menu = LoadMenuA(module, name);
    CheckMenu(menu, "menu " + std::to_string((ULONG_PTR)name));
    return DestroyMenu(menu);
}

TEST(ControlNames, EveryControlHasANameOfItsOwnAndNoMenuOrDialogUnderlinesALetterTwice)
{
    // False also when there is no resource of the type.
    HMODULE program = GetModuleHandleA(nullptr);
    EXPECT_TRUE(EnumResourceNamesA(program, RT_DIALOG, CheckDialog, 0));
    EXPECT_TRUE(EnumResourceNamesA(program, RT_MENU, CheckMenuResource, 0));
}

}  // namespace
