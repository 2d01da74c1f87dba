#include <windows.h>
#include <mmsystem.h>

#include <cstdio>

#include "midi/midi_out.h"

uint32_t MidiOutOpenMapper(uintptr_t* handle)
{
    HMIDIOUT out = nullptr;
    MMRESULT result = midiOutOpen(&out, MIDI_MAPPER, 0, 0, CALLBACK_NULL);
    if (result != MMSYSERR_NOERROR) return result;
    *handle = (uintptr_t)out;
    return MidiOutOk;
}

void MidiOutErrorText(uint32_t code, char* text, uint32_t size)
{
    if (size == 0) return;
    text[0] = 0;
    // A code the system has no text for is still worth its number.
    if (midiOutGetErrorTextA(code, text, size) != MMSYSERR_NOERROR || text[0] == 0)
        std::snprintf(text, size, "error %u", (unsigned)code);
    text[size - 1] = 0;
}

void MidiOutSend(uintptr_t handle, uint32_t message)
{
    midiOutShortMsg((HMIDIOUT)handle, message);
}

void MidiOutClose(uintptr_t handle)
{
    midiOutClose((HMIDIOUT)handle);
}
