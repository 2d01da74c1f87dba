#include <gtest/gtest.h>

#include <cctype>
#include <cstring>
#include <set>
#include <string>

#include "dialogs/program_names.h"
#include "dialogs/series_ids.h"

TEST(ProgramNameTable, FollowsTheGeneralMidiOrder)
{
    // The first program of each family of eight, and a few the Voices dialog is known by.
    const struct {
        int program;
        const char* name;
    } known[] = {
        {0, "acousticgrandpiano"}, {8, "celesta"},        {16, "hammondorgan"},    {21, "accordian"},
        {23, "tangoaccordian"},    {24, "nylonstringguitar"}, {32, "acousticbass"}, {40, "violin"},
        {47, "timpani"},           {48, "stringensemble1"}, {56, "trumpet"},       {64, "sopranosax"},
        {72, "piccolo"},           {80, "squarewave"},     {88, "fantasia"},       {96, "icerain"},
        {104, "sitar"},            {112, "tinklebell"},    {119, "reversecymbol"}, {120, "guitarfretnoise"},
        {127, "gunshot"},
    };
    for (const auto& entry : known) EXPECT_STREQ(ProgramNameTable[entry.program], entry.name) << entry.program;
}

TEST(ProgramNameTable, NamesAreShortLowerCaseAndDistinct)
{
    std::set<std::string> seen;
    for (int p = 0; p < ProgramCount; ++p) {
        const char* name = ProgramNameTable[p];
        const size_t length = strnlen(name, ProgramNameSize);
        EXPECT_GT(length, 0u) << p;
        EXPECT_LE(length, 19u) << p;
        for (size_t i = 0; i < length; ++i)
            EXPECT_TRUE(std::islower((unsigned char)name[i]) || std::isdigit((unsigned char)name[i])) << p;
        EXPECT_TRUE(seen.insert(name).second) << name;
    }
}

TEST(SeriesBoxIds, EachPageNumbersItsBoxesFromItsOwnFirstId)
{
    // Page by page: the ids of box "1", box "2" and box "48".
    const int expected[SeriesPageCount][3] = {
        {1149, 1150, 1196}, {1134, 1135, 1181}, {1141, 1142, 1188}, {1142, 1143, 1189},
        {1143, 1144, 1190}, {1144, 1145, 1191}, {1145, 1146, 1192}, {1146, 1147, 1193},
        {1147, 1148, 1194}, {1148, 1149, 1195}, {1135, 1183, 1229}, {1136, 1137, 1183},
        {1137, 1138, 1184}, {1138, 1139, 1185}, {1139, 1140, 1186}, {1140, 1141, 1187},
    };
    for (int page = 0; page < SeriesPageCount; ++page) {
        const int32_t* ids = SeriesBoxIds.Ids[page];
        EXPECT_EQ(ids[0], expected[page][0]) << "page " << page + 1;
        EXPECT_EQ(ids[1], expected[page][1]) << "page " << page + 1;
        EXPECT_EQ(ids[47], expected[page][2]) << "page " << page + 1;
        for (int box = 2; box < SeriesBoxCount; ++box) EXPECT_EQ(ids[box], ids[box - 1] + 1) << page + 1;
        std::set<int32_t> distinct(ids, ids + SeriesBoxCount);
        EXPECT_EQ(distinct.size(), (size_t)SeriesBoxCount) << "page " << page + 1;
    }
}
