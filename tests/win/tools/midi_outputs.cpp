// Lists the MIDI outputs that Wine offers in this prefix, one a line: the
// device number, a tab, and the name that midiOutGetDevCaps gives (UTF-8),
// the name the MIDI mapper compares with its CurrentInstrument setting.
#include <windows.h>
#include <mmsystem.h>

#include <cstdio>

int main()
{
    UINT count = midiOutGetNumDevs();
    for (UINT device = 0; device < count; ++device) {
        MIDIOUTCAPSW caps{};
        if (midiOutGetDevCapsW(device, &caps, sizeof caps) != MMSYSERR_NOERROR) continue;
        char name[4 * MAXPNAMELEN];
        if (!WideCharToMultiByte(CP_UTF8, 0, caps.szPname, -1, name, sizeof name, nullptr, nullptr)) continue;
        std::printf("%u\t%s\n", device, name);
    }
    return 0;
}
