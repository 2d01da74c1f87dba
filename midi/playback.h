// Play and Stop: the merged piece sent to the MIDI output in real time.
#pragma once
#include <cstdint>

// Merges the voices, opens the output and starts the first timer. False when
// the piece cannot be merged for lack of memory, the output cannot be opened
// or the first timer cannot be started: an error box then says which, and
// the commands stay as they were.
bool StartPlayback();

// Ends the playback at once: pending timer killed, sounding notes ended,
// output closed, commands idle. Always true.
bool StopPlayback();

// Ends any playback in progress before the process tears down: after it
// returns no timer callback sends, starts a timer or shows anything.
void EndPlaybackForExit();

enum { ShortNoteOn = 0x90, ShortProgramChange = 0xC0 };

// A short MIDI message: status + channel, then the two data bytes, low byte first.
uint32_t PackShortMessage(int32_t status, int32_t channel, int32_t data1, int32_t data2);
void SendShortMessage(uintptr_t handle, int32_t status, int32_t channel, int32_t data1, int32_t data2);

// The timer resolution for a piece: at least 5 ms, at most what the system allows.
uint32_t ChooseTimerPeriod();

// The wait in whole milliseconds for the given ticks at the given tempo.
uint32_t DelayOfTicks(int32_t ticks, int32_t beatsPerMinute);
