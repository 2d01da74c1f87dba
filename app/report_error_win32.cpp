#include <windows.h>

#include "app/report_error.h"

// No owner: the main window stays usable while the box is up, and the box
// can be shown from the playback timer's thread as well.
void ReportError(const char* text)
{
    MessageBoxA(nullptr, text, "Varnolt", MB_ICONERROR | MB_OK);
}
