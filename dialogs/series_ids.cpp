#include "dialogs/series_ids.h"

static constexpr SeriesIdTable BuildSeriesIds()
{
    SeriesIdTable table{};
    for (int page = 0; page < SeriesPageCount; ++page)
        for (int box = 0; box < SeriesBoxCount; ++box)
            table.Ids[page][box] = SeriesBoxId(page, box);
    return table;
}

constexpr SeriesIdTable SeriesBoxIds = BuildSeriesIds();
