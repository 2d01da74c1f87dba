#include "tests/win/support/recording_midi_out.h"

#include <windows.h>
#include <mmsystem.h>

#include <mutex>

#include "midi/midi_out.h"

static std::mutex RecordingLock;
static std::vector<RecordedMidi> Log;
static bool FailOpen;
static bool IsOpen;
static uintptr_t LastHandle = 0x500;

static int64_t Now()
{
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now.QuadPart;
}

void ResetRecordingMidiOut()
{
    std::lock_guard<std::mutex> hold(RecordingLock);
    Log.clear();
    Log.reserve(1 << 16);
    FailOpen = false;
    IsOpen = false;
}

void FailRecordingMidiOutOpen(bool fail)
{
    std::lock_guard<std::mutex> hold(RecordingLock);
    FailOpen = fail;
}

bool RecordingMidiOutOpen()
{
    std::lock_guard<std::mutex> hold(RecordingLock);
    return IsOpen;
}

std::vector<RecordedMidi> RecordedMidiLog()
{
    std::lock_guard<std::mutex> hold(RecordingLock);
    return Log;
}

int64_t RecordedTicksPerSecond()
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return frequency.QuadPart;
}

uint32_t MidiOutOpenMapper(uintptr_t* handle)
{
    int64_t time = Now();
    std::lock_guard<std::mutex> hold(RecordingLock);
    if (FailOpen) return MIDIERR_INVALIDSETUP;
    *handle = ++LastHandle;
    Log.push_back({RecordedOpen, 0, !IsOpen, time});
    IsOpen = true;
    return MidiOutOk;
}

// The system's own text, as the program shows it.
void MidiOutErrorText(uint32_t code, char* text, uint32_t size)
{
    if (midiOutGetErrorTextA(code, text, size) != MMSYSERR_NOERROR) text[0] = 0;
}

void MidiOutSend(uintptr_t handle, uint32_t message)
{
    int64_t time = Now();
    std::lock_guard<std::mutex> hold(RecordingLock);
    Log.push_back({RecordedSend, message, IsOpen && handle == LastHandle, time});
}

void MidiOutClose(uintptr_t handle)
{
    int64_t time = Now();
    std::lock_guard<std::mutex> hold(RecordingLock);
    Log.push_back({RecordedClose, 0, IsOpen && handle == LastHandle, time});
    IsOpen = false;
}
