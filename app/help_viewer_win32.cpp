#include <windows.h>

#include "app/help_viewer.h"

typedef LONG(WINAPI* VersionCall)(OSVERSIONINFOW*);

// Wine marks its ntdll with an export of its own: the way Wine tells programs
// to recognise it.
static bool RunningOnWine(HMODULE ntdll)
{
    return GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

// The version the system really is. The compatibility layer tells a program
// whose manifest names no newer system that it runs on 6.2, whatever it runs
// on; RtlGetVersion answers without it.
static DWORD SystemMajorVersion(HMODULE ntdll)
{
    OSVERSIONINFOW version = {};
    version.dwOSVersionInfoSize = sizeof version;
    FARPROC found = ntdll ? GetProcAddress(ntdll, "RtlGetVersion") : nullptr;
    VersionCall call = reinterpret_cast<VersionCall>(reinterpret_cast<void (*)()>(found));
    if (call && call(&version) == 0) return version.dwMajorVersion;
    return LOBYTE(LOWORD(GetVersion()));
}

bool SystemHasHelpViewer()
{
    HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    if (ntdll && RunningOnWine(ntdll)) return true;
    return SystemMajorVersion(ntdll) < 6;
}
