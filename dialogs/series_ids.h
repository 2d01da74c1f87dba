// The control ids of the 48 check boxes on each of the sixteen Series pages,
// in the order of their labels "1" to "48". Box k (from 0) of page v (from 0)
// stands for flag k of voice v.
#pragma once
#include <cstdint>

#include "settings/settings.h"

enum { SeriesPageCount = VoiceCount, SeriesBoxCount = FormCount };

struct SeriesIdTable {
    int32_t Ids[SeriesPageCount][SeriesBoxCount];
};

extern const SeriesIdTable SeriesBoxIds;

// The id of box "box + 1" on page "page + 1". Each page template numbers its
// boxes from its own first id; page 11 is the odd one: its first box kept an
// id of its own, the rest run on from 1183.
constexpr int32_t SeriesBoxId(int page, int box)
{
    const int p = page + 1;  // the page's caption, "1" to "16"
    if (p == 1) return 1149 + box;
    if (p == 2) return 1134 + box;
    if (p <= 10) return 1138 + p + box;
    if (p == 11) return box == 0 ? 1135 : 1182 + box;
    return 1124 + p + box;
}
