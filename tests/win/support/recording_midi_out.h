// A MIDI output for the Windows tests and benchmarks: it records every open,
// message and close with the time it arrived (QueryPerformanceCounter), and
// can be told to fail opening, as the mapper does on a machine without MIDI
// (with MIDIERR_INVALIDSETUP, Wine's code there). Error texts are the system's.
#pragma once
#include <cstdint>
#include <vector>

enum RecordedAction { RecordedOpen, RecordedSend, RecordedClose };

struct RecordedMidi {
    RecordedAction Action;
    uint32_t Message;  // the packed short message of a send
    bool RightHandle;  // given the handle of the output open at the time
    int64_t Time;      // QueryPerformanceCounter
};

void ResetRecordingMidiOut();  // forgets the log; opening succeeds again
void FailRecordingMidiOutOpen(bool fail);
bool RecordingMidiOutOpen();   // opened and not yet closed
std::vector<RecordedMidi> RecordedMidiLog();
int64_t RecordedTicksPerSecond();  // QueryPerformanceFrequency
