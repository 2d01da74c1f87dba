// The live check of the numeric edits of the Matrix and Octaves dialogs: every
// change to an edit's text is checked as it is made, and one that fails is
// taken back.
#pragma once
#include <windows.h>

#include <cstdint>

enum { MaxCheckedChars = 3 };  // the most leading characters any edit checks

// Shows the value in edit id of the dialog and makes it the accepted text.
void ShowEditValue(HWND dialog, int id, int32_t value, char* lastText, int32_t chars);

// Reads the leading bytes of an edit's text: at most chars of them.
void ReadLeadingText(HWND edit, char* text, int32_t chars);

// Called at the edit's EN_UPDATE. When its leading chars characters pass the
// check against 0..max they become lastText; otherwise lastText is put back,
// and the caret stays where the user was typing: at the end when the refused
// change ended at the end of the text, else where it stood before the change.
void CheckEditChange(HWND edit, char* lastText, int32_t chars, int32_t max);
