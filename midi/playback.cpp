#include "midi/playback.h"

#include <atomic>
#include <cstdio>
#include <cstring>
#include <mutex>

#include "app/report_error.h"
#include "events/events.h"
#include "midi/clock.h"
#include "midi/command_state.h"
#include "midi/form_list.h"
#include "midi/merge.h"
#include "midi/midi_out.h"
#include "midi/timers.h"
#include "settings/settings.h"

enum : uint32_t { FirstDelay = 1000, PreferredPeriod = 5 };
enum { KeyCount = 128 };

// The playback state. The window's thread (Play, Stop) and the timer thread
// (one callback at a time) both work on it under PlaybackLock. Nobody holds
// the lock while calling into the window: the commands and the error box are
// shown after it is released.
static std::mutex PlaybackLock;
static bool Playing;
static bool PlayingForm;  // what plays is one form from the Forms dialog, not the piece
static uint32_t PlaybackNumber;  // counts Plays; every timer carries the number of its playback
static uintptr_t MidiOutHandle;
static uint32_t TimerPeriod;
static uint32_t TimerId;
static Event* PlaybackCursor;
static bool FirstTick;
static uint8_t Sounding[VoiceCount][KeyCount];  // keys started and not yet ended, per channel
static PiecePosition Position;  // only the piece moves it, never a form

// Set when the main window goes away: callbacks still finishing then leave
// the commands and the error box alone.
static std::atomic<bool> Closing;

enum Outcome { Continues, Ended, TimerFailed };

uint32_t PackShortMessage(int32_t status, int32_t channel, int32_t data1, int32_t data2)
{
    return (uint32_t)((status + channel) & 0xFF) | (uint32_t)(data1 & 0xFF) << 8 | (uint32_t)(data2 & 0xFF) << 16;
}

void SendShortMessage(uintptr_t handle, int32_t status, int32_t channel, int32_t data1, int32_t data2)
{
    MidiOutSend(handle, PackShortMessage(status, channel, data1, data2));
}

uint32_t ChooseTimerPeriod()
{
    TimerCaps caps{PreferredPeriod, PreferredPeriod};
    if (!GetTimerCaps(&caps)) caps = TimerCaps{PreferredPeriod, PreferredPeriod};
    uint32_t period = caps.PeriodMin > PreferredPeriod ? caps.PeriodMin : PreferredPeriod;
    return period < caps.PeriodMax ? period : caps.PeriodMax;
}

// Whole milliseconds, cut off, for the given ticks at the given tempo. A
// timer of 0 ms cannot be started, so a gap shorter than 1 ms waits 1 ms.
// Whole numbers only: a floating-point product is cut one lower where a unit
// keeps more precision than a double (the x87 of 32-bit builds makes
// 384 ticks at 60 beats a minute 999 ms).
uint32_t DelayOfTicks(int32_t ticks, int32_t beatsPerMinute)
{
    const uint64_t ticksPerMinute = (uint64_t)(uint32_t)beatsPerMinute * TicksPerQuarter;
    if (ticksPerMinute == 0) return 1;
    const uint64_t delay = (uint64_t)(uint32_t)ticks * 60000u / ticksPerMinute;
    if (delay == 0) return 1;
    return delay > UINT32_MAX ? UINT32_MAX : (uint32_t)delay;
}

static void SendEvent(const Event* e)
{
    if (e->Kind == ProgramChange) {
        SendShortMessage(MidiOutHandle, ShortProgramChange, e->Channel, e->Data[0], 0);
        return;
    }
    SendShortMessage(MidiOutHandle, ShortNoteOn, e->Channel, e->Data[0], e->Data[1]);
    Sounding[e->Channel & 15][e->Data[0] & 127] = e->Data[1] > 0;
}

// Every end of a playback comes here, with the lock held: the notes still
// sounding are ended, the output closed and the timer period ended.
static void EndLocked(bool killTimer)
{
    if (killTimer && TimerId != 0) KillPlaybackTimer(TimerId);
    TimerId = 0;
    for (int channel = 0; channel < VoiceCount; ++channel)
        for (int key = 0; key < KeyCount; ++key)
            if (Sounding[channel][key]) SendShortMessage(MidiOutHandle, ShortNoteOn, channel, key, 0);
    std::memset(Sounding, 0, sizeof Sounding);
    MidiOutClose(MidiOutHandle);
    EndTimerPeriod(TimerPeriod);
    Playing = false;
    if (!PlayingForm && Position.Playing) {
        Position.Playing = false;
        Position.StoppedAt = ClockMilliseconds();
    }
}

static bool IsPlaying()
{
    std::lock_guard<std::mutex> hold(PlaybackLock);
    return Playing;
}

// Shows the commands for the present state. Both threads end up here after
// changing the state, so each checks after showing that the state has not
// moved meanwhile; whoever shows last has seen the final state.
static void ShowCommands()
{
    bool playing;
    do {
        if (Closing) return;
        playing = IsPlaying();
        if (playing)
            ShowCommandsPlaying();
        else
            ShowCommandsIdle();
    } while (IsPlaying() != playing);
}

static void EndPlayback()
{
    std::lock_guard<std::mutex> hold(PlaybackLock);
    if (Playing) EndLocked(true);
}

enum Beginning { Started, NoMemory, NotOpened, FirstTimerRefused };

// What a Play plays: the piece, or the form of one voice.
struct Playable {
    bool Form;
    int32_t Voice;
    int32_t FormIndex;
};

// Builds the PlaybackList, opens the output and starts the first timer, with
// the lock held. Where the output cannot be opened, openError receives the
// system's code.
static Beginning BeginLocked(Playable what, uint32_t* openError)
{
    if (!(what.Form ? BuildFormList(what.Voice, what.FormIndex) : MergeVoiceLists())) return NoMemory;
    *openError = MidiOutOpenMapper(&MidiOutHandle);
    if (*openError != MidiOutOk) return NotOpened;
    Playing = true;
    PlayingForm = what.Form;
    if (!what.Form) Position = PiecePosition{true, true, 0, 0, ClockMilliseconds(), 0, CurrentTempo()};
    ++PlaybackNumber;
    FirstTick = true;
    TimerPeriod = ChooseTimerPeriod();
    BeginTimerPeriod(TimerPeriod);
    TimerId = StartPlaybackTimer(TimerPeriod > FirstDelay ? TimerPeriod : FirstDelay, TimerPeriod, PlaybackNumber);
    if (TimerId != 0) return Started;
    EndLocked(false);
    return FirstTimerRefused;
}

// Says why a Play did not start, for the output in the system's own words.
static void ReportNotStarted(Playable what, Beginning beginning, uint32_t openError)
{
    if (beginning == NoMemory)
        ReportError(what.Form ? "ERROR: Not enough memory to play the form" : "ERROR: Not enough memory to play the piece");
    if (beginning == FirstTimerRefused) ReportError("ERROR: Cannot start the playback timer");
    if (beginning != NotOpened) return;
    char reason[256];
    MidiOutErrorText(openError, reason, sizeof reason);
    char text[320];
    std::snprintf(text, sizeof text, "ERROR: Cannot open the MIDI output: %s", reason);
    ReportError(text);
}

static bool Start(Playable what)
{
    Closing = false;
    bool endedOld;
    Beginning beginning;
    uint32_t openError = MidiOutOk;
    {
        std::lock_guard<std::mutex> hold(PlaybackLock);
        endedOld = Playing;
        if (endedOld) EndLocked(true);  // never two playbacks side by side
        beginning = BeginLocked(what, &openError);
    }
    // A Play that cannot start leaves the commands as they were, unless it
    // ended a playback first; the box comes once they are right.
    if (endedOld || beginning == Started) ShowCommands();
    if (beginning != Started) ReportNotStarted(what, beginning, openError);
    return beginning == Started;
}

bool StartPlayback()
{
    return Start(Playable{false, 0, 0});
}

bool StartFormPlayback(int32_t voice, int32_t formIndex)
{
    FormNote notes[RowLength];
    if (!ChooseFormNotes(voice, formIndex, notes)) return false;  // the dialog offers no such form
    return Start(Playable{true, voice, formIndex});
}

bool StopFormPlayback()
{
    bool ended;
    {
        std::lock_guard<std::mutex> hold(PlaybackLock);
        ended = Playing && PlayingForm;
        if (ended) EndLocked(true);
    }
    if (ended) ShowCommands();
    return ended;
}

PiecePosition ReadPiecePosition()
{
    std::lock_guard<std::mutex> hold(PlaybackLock);
    return Position;
}

void ForgetPiecePosition()
{
    std::lock_guard<std::mutex> hold(PlaybackLock);
    Position = PiecePosition{};
}

// The piece's Events of one tick have gone: the position moves to them.
static void MovePosition(int32_t ticksSent, int32_t tempo)
{
    if (PlayingForm) return;
    Position.Tick += ticksSent;
    Position.NextTick = Position.Tick + (IsEnd(&PlaybackList, PlaybackCursor) ? 0 : PlaybackCursor->Delta);
    Position.SentAt = ClockMilliseconds();
    Position.Tempo = tempo;
}

bool PlaybackRunning()
{
    return IsPlaying();
}

bool StopPlayback()
{
    EndPlayback();
    ShowCommands();
    return true;
}

void EndPlaybackForExit()
{
    Closing = true;
    EndPlayback();
}

// Sends the Events of the tick that is due and starts the timer for the next.
static Outcome PlayTick()
{
    int32_t tempo = CurrentTempo();
    if (FirstTick) {
        FirstTick = false;
        PlaybackCursor = FirstEvent(&PlaybackList);
    }
    if (!IsEnd(&PlaybackList, PlaybackCursor)) {
        const int32_t ticks = PlaybackCursor->Delta;
        SendEvent(PlaybackCursor);
        PlaybackCursor = PlaybackCursor->Next;
        while (!IsEnd(&PlaybackList, PlaybackCursor) && PlaybackCursor->Delta == 0) {
            SendEvent(PlaybackCursor);
            PlaybackCursor = PlaybackCursor->Next;
        }
        MovePosition(ticks, tempo);
    }
    if (IsEnd(&PlaybackList, PlaybackCursor)) {
        EndLocked(false);
        return Ended;
    }
    TimerId = StartPlaybackTimer(DelayOfTicks(PlaybackCursor->Delta, tempo), 0, PlaybackNumber);
    if (TimerId != 0) return Continues;
    EndLocked(false);
    return TimerFailed;
}

void PlaybackTimerProc(uint32_t, uint32_t, uintptr_t user, uintptr_t, uintptr_t)
{
    Outcome outcome;
    {
        std::lock_guard<std::mutex> hold(PlaybackLock);
        if (!Playing || user != PlaybackNumber) return;  // the timer of a playback already ended
        outcome = PlayTick();
    }
    if (outcome == Continues) return;
    if (outcome == TimerFailed && !Closing) ReportError("ERROR: timer ID");
    ShowCommands();
}
