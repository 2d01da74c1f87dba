#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>

#include "dialogs/field_check.h"
#include "tests/unit/test_seed.h"

TEST(FieldCheck, EdgeTexts)
{
    struct Case {
        const char* text;
        int32_t max;
        bool passes;
    };
    const Case cases[] = {
        {"", 11, true},      {"0", 11, true},      {"07", 11, true},     {"11", 11, true},    {"12", 11, false},
        {"99", 11, false},   {"-1", 11, false},    {"+1", 11, false},    {" 1", 11, false},   {"1 ", 11, false},
        {"a", 11, false},    {"1a", 11, false},    {"/", 11, false},     {":", 11, false},    {"\xB9", 11, false},
        {"1\xB0", 11, false}, {"\xFF", 11, false}, {"007", 127, true},   {"127", 127, true},  {"128", 127, false},
        {"1279", 127, false}, {"08", 8, true},     {"9", 8, false},      {"0", 0, true},      {"1", 0, false},
    };
    for (const Case& c : cases) EXPECT_EQ(CheckFieldText(c.text, c.max), c.passes) << '"' << c.text << "\" " << c.max;
}

TEST(FieldCheck, VeryLongTextsNeverOverflow)
{
    std::string zeros(5000, '0');
    EXPECT_TRUE(CheckFieldText((zeros + "7").c_str(), 8));
    EXPECT_FALSE(CheckFieldText((zeros + "9").c_str(), 8));
    EXPECT_FALSE(CheckFieldText(std::string(5000, '9').c_str(), 127));
    EXPECT_FALSE(CheckFieldText(("1" + zeros).c_str(), INT32_MAX));
    // a letter far behind a value that is already too large still fails
    EXPECT_FALSE(CheckFieldText((std::string(40, '9') + "z").c_str(), INT32_MAX));
    // a letter far behind a valid value fails too
    EXPECT_FALSE(CheckFieldText((zeros + "5q").c_str(), 8));
    EXPECT_TRUE(CheckFieldText("2147483647", INT32_MAX));
    EXPECT_FALSE(CheckFieldText("2147483648", INT32_MAX));
    EXPECT_FALSE(CheckFieldText("4294967296", INT32_MAX));
}

// The check said another way: digits only, and the value without leading
// zeros compared as a string of digits.
static bool ReferenceCheck(const std::string& text, int32_t max)
{
    for (char c : text)
        if (c < '0' || c > '9') return false;
    std::string digits = text.substr(std::min(text.find_first_not_of('0'), text.size()));
    std::string limit = std::to_string(max);
    if (digits.size() != limit.size()) return digits.size() < limit.size();
    return digits <= limit;
}

TEST(FieldCheck, AgreesWithAReferenceOnRandomByteStrings)
{
    std::mt19937 random(TestSeed(20261207));
    const int32_t maxima[] = {0, 8, 11, 127, 1000, INT32_MAX};
    int passed = 0;
    for (int round = 0; round < 200000; ++round) {
        std::string text;
        int length = (int)(random() % 14);
        for (int i = 0; i < length; ++i) {
            // mostly digits, so that passing texts are common too
            unsigned pick = random() % 16;
            text += pick < 12 ? (char)('0' + random() % 10) : (char)(1 + random() % 255);
        }
        int32_t max = maxima[random() % 6];
        bool expected = ReferenceCheck(text, max);
        ASSERT_EQ(CheckFieldText(text.c_str(), max), expected) << '"' << text << "\" max " << max;
        passed += expected;
    }
    EXPECT_GT(passed, 10000);
}

TEST(FieldCheck, ValueOfTheLeadingDigits)
{
    EXPECT_EQ(FieldTextValue(""), 0);
    EXPECT_EQ(FieldTextValue("0"), 0);
    EXPECT_EQ(FieldTextValue("08"), 8);
    EXPECT_EQ(FieldTextValue("007"), 7);
    EXPECT_EQ(FieldTextValue("127"), 127);
    EXPECT_EQ(FieldTextValue("12x"), 12);
    EXPECT_EQ(FieldTextValue("2147483647"), INT32_MAX);
    EXPECT_EQ(FieldTextValue(std::string(300, '9').c_str()), INT32_MAX);
}
