/* A MIDI output driver for Wine that records what reaches it.
 *
 * Wine loads wine<NAME>.drv for each name in HKCU\Software\Wine\Drivers,
 * value Audio. This one offers the MIDI outputs named in the environment
 * variable VARNOLT_MIDI_DEVICES (names separated by '|'; none when it is unset
 * or empty, which is a machine without MIDI) and appends one line per call to
 * the file that VARNOLT_MIDI_LOG names (a Windows path; nothing is written when
 * it is unset):
 *
 *   frequency <QueryPerformanceFrequency>       once per process, first
 *   <QueryPerformanceCounter> open <device>
 *   <QueryPerformanceCounter> data <device> <packed short message, 8 hex digits>
 *   <QueryPerformanceCounter> reset <device>
 *   <QueryPerformanceCounter> close <device>
 *
 * The counter is read as the call arrives, before anything is written. Audio
 * it has none: the sound device layer sees a driver without endpoints. */
#include <windows.h>
#include <mmsystem.h>
#include <mmddk.h>

#include <stdio.h>
#include <wchar.h>

enum { MaxDevices = 8, NameSize = MAXPNAMELEN };

static CRITICAL_SECTION LogLock;
static HANDLE Log = INVALID_HANDLE_VALUE;
static BOOL LogTried;
static WCHAR Names[MaxDevices][NameSize];
static UINT DeviceCount;

static void ReadDeviceNames(void)
{
    WCHAR list[MaxDevices * NameSize * 2];
    DWORD length = GetEnvironmentVariableW(L"VARNOLT_MIDI_DEVICES", list, ARRAYSIZE(list));
    DeviceCount = 0;
    if (length == 0 || length >= ARRAYSIZE(list)) return;
    WCHAR* name = list;
    while (DeviceCount < MaxDevices) {
        WCHAR* bar = wcschr(name, L'|');
        if (bar) *bar = 0;
        lstrcpynW(Names[DeviceCount++], name, NameSize);
        if (!bar) break;
        name = bar + 1;
    }
}

static void WriteLine(const char* line)
{
    DWORD written;
    WriteFile(Log, line, (DWORD)lstrlenA(line), &written, NULL);
}

/* Opens the log at the first call that is recorded, with the lock held. */
static BOOL LogOpen(void)
{
    if (!LogTried) {
        WCHAR path[MAX_PATH];
        LogTried = TRUE;
        DWORD length = GetEnvironmentVariableW(L"VARNOLT_MIDI_LOG", path, MAX_PATH);
        if (length == 0 || length >= MAX_PATH) return FALSE;
        Log = CreateFileW(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL, OPEN_ALWAYS,
                          FILE_ATTRIBUTE_NORMAL, NULL);
        if (Log != INVALID_HANDLE_VALUE) {
            LARGE_INTEGER frequency;
            char line[64];
            QueryPerformanceFrequency(&frequency);
            snprintf(line, sizeof line, "frequency %lld\n", (long long)frequency.QuadPart);
            WriteLine(line);
        }
    }
    return Log != INVALID_HANDLE_VALUE;
}

static void Record(const char* what, UINT device, const DWORD_PTR* message)
{
    LARGE_INTEGER now;
    char line[96];
    QueryPerformanceCounter(&now);
    if (message)
        snprintf(line, sizeof line, "%lld %s %u %08lx\n", (long long)now.QuadPart, what, device,
                 (unsigned long)(*message & 0xFFFFFFFF));
    else
        snprintf(line, sizeof line, "%lld %s %u\n", (long long)now.QuadPart, what, device);
    EnterCriticalSection(&LogLock);
    if (LogOpen()) WriteLine(line);
    LeaveCriticalSection(&LogLock);
}

static DWORD DeviceCaps(UINT device, MIDIOUTCAPSW* caps, DWORD_PTR size)
{
    MIDIOUTCAPSW filled;
    if (device >= DeviceCount) return MMSYSERR_BADDEVICEID;
    if (!caps) return MMSYSERR_INVALPARAM;
    ZeroMemory(&filled, sizeof filled);
    filled.wMid = 0xFFFF;  /* no manufacturer id of its own */
    filled.vDriverVersion = 0x0100;
    lstrcpynW(filled.szPname, Names[device], MAXPNAMELEN);
    filled.wTechnology = MOD_MIDIPORT;
    filled.wChannelMask = 0xFFFF;
    CopyMemory(caps, &filled, size < sizeof filled ? size : sizeof filled);
    return MMSYSERR_NOERROR;
}

DWORD WINAPI modMessage(UINT device, UINT message, DWORD_PTR user, DWORD_PTR param1, DWORD_PTR param2)
{
    (void)user;
    switch (message) {
    case DRVM_INIT:
    case DRVM_EXIT:
    case DRVM_ENABLE:
    case DRVM_DISABLE:
        return MMSYSERR_NOERROR;
    case MODM_GETNUMDEVS:
        return DeviceCount;
    case MODM_GETDEVCAPS:
        return DeviceCaps(device, (MIDIOUTCAPSW*)param1, param2);
    }
    if (device >= DeviceCount) return MMSYSERR_BADDEVICEID;
    switch (message) {
    case MODM_OPEN:
        Record("open", device, NULL);
        return MMSYSERR_NOERROR;
    case MODM_DATA:
        Record("data", device, &param1);
        return MMSYSERR_NOERROR;
    case MODM_RESET:
        Record("reset", device, NULL);
        return MMSYSERR_NOERROR;
    case MODM_CLOSE:
        Record("close", device, NULL);
        return MMSYSERR_NOERROR;
    }
    return MMSYSERR_NOTSUPPORTED;
}

LRESULT CALLBACK DriverProc(DWORD_PTR id, HDRVR driver, UINT message, LPARAM param1, LPARAM param2)
{
    switch (message) {
    case DRV_LOAD:
    case DRV_FREE:
    case DRV_OPEN:
    case DRV_CLOSE:
    case DRV_ENABLE:
    case DRV_DISABLE:
        return 1;
    }
    return DefDriverProc(id, driver, message, param1, param2);
}

/* The sound device layer's four calls: a driver of neutral priority without
 * audio endpoints. */
int WINAPI GetPriority(void)
{
    return 2;
}

HRESULT WINAPI GetEndpointIDs(int flow, WCHAR*** ids, GUID** guids, UINT* count, UINT* defaultIndex)
{
    (void)flow;
    *ids = NULL;
    *guids = NULL;
    *count = 0;
    *defaultIndex = 0;
    return S_OK;
}

HRESULT WINAPI GetAudioEndpoint(void* key, void* device, void** client)
{
    (void)key;
    (void)device;
    (void)client;
    return E_NOTIMPL;
}

HRESULT WINAPI GetAudioSessionManager(void* device, void** manager)
{
    (void)device;
    (void)manager;
    return E_NOTIMPL;
}

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved)
{
    (void)instance;
    (void)reserved;
    if (reason == DLL_PROCESS_ATTACH) {
        InitializeCriticalSection(&LogLock);
        ReadDeviceNames();
    }
    if (reason == DLL_PROCESS_DETACH && Log != INVALID_HANDLE_VALUE) CloseHandle(Log);
    return TRUE;
}
