#include "dialogs/field_check.h"

static bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool CheckFieldText(const char* text, int32_t max)
{
    if (max < 0) return false;
    bool tooLarge = false;
    int32_t value = 0;
    for (const char* p = text; *p != '\0'; ++p) {
        if (!IsDigit(*p)) return false;
        if (tooLarge) continue;  // keep looking for a non-digit only
        int32_t digit = *p - '0';
        // value * 10 + digit > max, asked without forming the product
        if (value > (max - digit) / 10 || (max - digit) < 0) tooLarge = true;
        else value = value * 10 + digit;
    }
    return !tooLarge;
}

int32_t FieldTextValue(const char* text)
{
    int32_t value = 0;
    for (const char* p = text; IsDigit(*p); ++p) {
        int32_t digit = *p - '0';
        if (value > (INT32_MAX - digit) / 10) return INT32_MAX;
        value = value * 10 + digit;
    }
    return value;
}
