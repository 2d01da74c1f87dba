#include <cstdio>
#include <mutex>

#include "midi/midi_out.h"
#include "tests/unit/fakes/playback_fakes.h"

static std::mutex MidiFakeLock;
static std::vector<MidiOutEntry> Log;
static uint32_t OpenError;
static bool IsOpen;
static uintptr_t LastHandle = 0x100;

void ResetMidiOutFake()
{
    std::lock_guard<std::mutex> hold(MidiFakeLock);
    Log.clear();
    OpenError = MidiOutOk;
    IsOpen = false;
}

void FailMidiOpen(uint32_t code)
{
    std::lock_guard<std::mutex> hold(MidiFakeLock);
    OpenError = code;
}

uint32_t MidiOutOpenMapper(uintptr_t* handle)
{
    std::lock_guard<std::mutex> hold(MidiFakeLock);
    if (OpenError != MidiOutOk) return OpenError;
    *handle = ++LastHandle;  // a new handle each time, so a stale one shows
    Log.push_back({MidiOpened, 0, !IsOpen});
    IsOpen = true;
    return MidiOutOk;
}

void MidiOutErrorText(uint32_t code, char* text, uint32_t size)
{
    std::snprintf(text, size, "the system's text for %u", (unsigned)code);
}

void MidiOutSend(uintptr_t handle, uint32_t message)
{
    std::lock_guard<std::mutex> hold(MidiFakeLock);
    Log.push_back({MidiSent, message, IsOpen && handle == LastHandle});
}

void MidiOutClose(uintptr_t handle)
{
    std::lock_guard<std::mutex> hold(MidiFakeLock);
    Log.push_back({MidiClosed, 0, IsOpen && handle == LastHandle});
    IsOpen = false;
}

std::vector<MidiOutEntry> MidiOutLog()
{
    std::lock_guard<std::mutex> hold(MidiFakeLock);
    return Log;
}

std::vector<uint32_t> MidiSentMessages()
{
    std::vector<uint32_t> sent;
    for (const MidiOutEntry& e : MidiOutLog())
        if (e.Action == MidiSent) sent.push_back(e.Message);
    return sent;
}

bool MidiOutIsOpen()
{
    std::lock_guard<std::mutex> hold(MidiFakeLock);
    return IsOpen;
}

static int CountOf(MidiOutAction action)
{
    int n = 0;
    for (const MidiOutEntry& e : MidiOutLog()) n += e.Action == action;
    return n;
}

int MidiOutOpens() { return CountOf(MidiOpened); }
int MidiOutCloses() { return CountOf(MidiClosed); }
