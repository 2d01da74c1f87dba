#include <windows.h>

#include "app/help_viewer.h"

// Wine marks its ntdll with an export of its own, the way Wine tells programs
// to recognise it; Wine brings a help viewer. Windows Vista, the first
// Windows without one, brought GetTickCount64 into kernel32, and no earlier
// Windows has it. A compatibility mode ("Windows XP" on Windows 10) changes
// the version the system tells the program, even RtlGetVersion's, but not the
// functions the system has.
bool SystemHasHelpViewer()
{
    HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    if (ntdll && GetProcAddress(ntdll, "wine_get_version")) return true;
    HMODULE kernel = GetModuleHandleA("kernel32.dll");
    return !(kernel && GetProcAddress(kernel, "GetTickCount64"));
}
