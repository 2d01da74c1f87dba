// Play and Stop: the merged piece sent to the MIDI output in real time.
#pragma once
#include <cstdint>

// Merges the voices, opens the output and starts the first timer. False when
// the piece cannot be merged for lack of memory, the output cannot be opened
// or the first timer cannot be started: an error box then says which, and
// the commands stay as they were.
bool StartPlayback();

// Plays one form (FormIndex 0..47) as the voice (0..15) plays it in the
// last piece, through the same output, timers and commands as the piece: a
// playback in progress, of the piece or of a form, is ended first. False,
// with an error box as for the piece, when it cannot start; false without
// one for a voice that took no part or a form outside 0..47.
bool StartFormPlayback(int32_t voice, int32_t formIndex);

// Ends the playback at once: pending timer killed, sounding notes ended,
// output closed, commands idle. Always true.
bool StopPlayback();

// Ends the playback as StopPlayback does when what plays is a form, and
// leaves the piece playing otherwise. True when it ended a form.
bool StopFormPlayback();

// True from a Play that started until its playback ends, stopped or not.
bool PlaybackRunning();

// Ends any playback in progress before the process tears down: after it
// returns no timer callback sends, starts a timer or shows anything.
void EndPlaybackForExit();

// Where the piece's playback is, as the piece view follows it: the tick of
// the Event last sent and the moment it went, the tick of the Event after it,
// and the tempo it plays at. A form played alone leaves it as it was.
struct PiecePosition {
    bool Known;        // the piece was played since it was composed
    bool Playing;
    int32_t Tick;      // of the Event last sent; 0 before the first
    int32_t NextTick;  // of the Event that comes next; Tick at the end
    uint32_t SentAt;   // ClockMilliseconds when it was sent (or when Play began)
    uint32_t StoppedAt;
    int32_t Tempo;     // beats per minute
};

PiecePosition ReadPiecePosition();
// A new piece: nothing of the last one has been played.
void ForgetPiecePosition();

enum { ShortNoteOn = 0x90, ShortProgramChange = 0xC0 };

// A short MIDI message: status + channel, then the two data bytes, low byte first.
uint32_t PackShortMessage(int32_t status, int32_t channel, int32_t data1, int32_t data2);
void SendShortMessage(uintptr_t handle, int32_t status, int32_t channel, int32_t data1, int32_t data2);

// The timer resolution for a piece: at least 5 ms, at most what the system allows.
uint32_t ChooseTimerPeriod();

// The wait in whole milliseconds for the given ticks at the given tempo.
uint32_t DelayOfTicks(int32_t ticks, int32_t beatsPerMinute);
