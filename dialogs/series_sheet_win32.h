// The Series sheet's page and header records, built apart from running the
// sheet so that a test can run the very same sheet without a modal loop.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include "dialogs/series_ids.h"

struct SeriesSheet {
    HPROPSHEETPAGE Pages[SeriesPageCount];
    PROPSHEETHEADERA Header;
};

// Creates the sixteen pages and fills the header for a sheet owned by owner.
void PrepareSeriesSheet(SeriesSheet& sheet, HWND owner);
