#include "dialogs/edit_check_win32.h"

#include <cstdio>
#include <cstring>

#include "dialogs/field_check.h"

void ShowEditValue(HWND dialog, int id, int32_t value, char* lastText, int32_t chars)
{
    std::snprintf(lastText, (size_t)chars + 1, "%u", (unsigned)value);
    SetDlgItemInt(dialog, id, (UINT)value, FALSE);
}

// The text is read with room to spare and then cut: where one character takes
// several bytes, a read of just chars bytes would stop before a character
// that does not fit whole, and the check would never see its first byte.
void ReadLeadingText(HWND edit, char* text, int32_t chars)
{
    char whole[MaxCheckedChars + 16] = "";
    GetWindowTextA(edit, whole, (int)sizeof whole);
    std::memcpy(text, whole, (size_t)chars);
    text[chars] = '\0';
}

// The caret for the restored text. The edit holds the refused text with the
// caret just after the change; the change added (or took away) as many
// characters as the two texts differ in length, so the caret stood that much
// earlier (or later) before it.
static int32_t CaretForRestoredText(HWND edit, int32_t restoredLength)
{
    DWORD caret = 0;
    SendMessageA(edit, EM_GETSEL, 0, (LPARAM)&caret);
    const int32_t refusedLength = GetWindowTextLengthA(edit);
    if ((int32_t)caret >= refusedLength) return restoredLength;
    const int32_t before = (int32_t)caret - (refusedLength - restoredLength);
    if (before < 0) return 0;
    return before > restoredLength ? restoredLength : before;
}

void CheckEditChange(HWND edit, char* lastText, int32_t chars, int32_t max)
{
    char text[MaxCheckedChars + 1];
    ReadLeadingText(edit, text, chars);
    if (CheckFieldText(text, max)) {
        std::strcpy(lastText, text);
        return;
    }
    const int32_t caret = CaretForRestoredText(edit, (int32_t)std::strlen(lastText));
    SetWindowTextA(edit, lastText);
    SendMessageA(edit, EM_SETSEL, (WPARAM)caret, (LPARAM)caret);
}
