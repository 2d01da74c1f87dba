#include <windows.h>
#include <mmsystem.h>

#include "midi/midi_out.h"

bool MidiOutOpenMapper(uintptr_t* handle)
{
    HMIDIOUT out = nullptr;
    if (midiOutOpen(&out, MIDI_MAPPER, 0, 0, CALLBACK_NULL) != MMSYSERR_NOERROR) return false;
    *handle = (uintptr_t)out;
    return true;
}

void MidiOutSend(uintptr_t handle, uint32_t message)
{
    midiOutShortMsg((HMIDIOUT)handle, message);
}

void MidiOutClose(uintptr_t handle)
{
    midiOutClose((HMIDIOUT)handle);
}
