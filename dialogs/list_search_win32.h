// A list box whose names are found by typing their first letters quickly,
// as Windows lists do elsewhere ("vio" finds violin, "clar" clarinet); one
// letter typed again and again steps through the names that begin with it.
// A pause of a second starts a new search.
#pragma once
#include <windows.h>

void SearchListAsTyped(HWND list);
