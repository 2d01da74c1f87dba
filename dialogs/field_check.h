// The check every numeric edit of the settings dialogs applies to its text on
// each change. Portable: the dialogs hand it the leading characters they read.
#pragma once
#include <cstdint>

// True when text holds only the ASCII digits 0..9 and its decimal value lies
// in 0..max. The empty text passes as 0; a sign, a blank, a letter or any byte
// above 127 fails. Texts of any length are safe: the value never overflows.
bool CheckFieldText(const char* text, int32_t max);

// The decimal value of the leading digits of text (0 for none), saturating at
// the largest int32_t instead of overflowing.
int32_t FieldTextValue(const char* text);
