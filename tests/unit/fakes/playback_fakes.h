// Test definitions of the seams playback uses: a recording MIDI output, a
// timer that the test fires by hand (or a thread fires after a scaled wait)
// and a recorder of the command state. All of them may be called from the
// timer thread; the readers return copies.
#pragma once
#include <cstdint>
#include <functional>
#include <vector>

// ---- MIDI output
enum MidiOutAction { MidiOpened, MidiSent, MidiClosed };

struct MidiOutEntry {
    MidiOutAction Action;
    uint32_t Message;  // for MidiSent
    bool RightHandle;  // the handle the last open gave out, and the output open
};

void ResetMidiOutFake();
// Opening fails with the given code from now on (MidiOutOk: succeeds); the
// text for a code is "the system's text for <code>".
void FailMidiOpen(uint32_t code);
std::vector<MidiOutEntry> MidiOutLog();
std::vector<uint32_t> MidiSentMessages();
bool MidiOutIsOpen();
int MidiOutOpens();
int MidiOutCloses();

// ---- Timers
struct FakeTimer {
    uint32_t Id;
    uint32_t Delay;
    uint32_t Resolution;
    uintptr_t User;
};

void ResetTimerFake();  // hand-driven, caps (1, 65535), every start succeeds
void SetTimerCaps(uint32_t periodMin, uint32_t periodMax, bool available = true);
void FailTimerStartsAfter(int successes);  // negative: never fail
std::vector<FakeTimer> StartedTimers();
std::vector<uint32_t> KilledTimers();
std::vector<uint32_t> PeriodsBegun();
std::vector<uint32_t> PeriodsEnded();
int PendingTimerCount();
// Fires the oldest timer that was started and neither fired nor killed;
// false when there is none.
bool FirePendingTimer();
// Calls the callback as the given timer would, fired or killed or not: a
// late callback.
void FireTimerAnyway(const FakeTimer& timer);

// From now on a thread fires the timers, one at a time like the system's
// timer thread, each delay × scale milliseconds after it was started.
void RunTimersOnThread(double scale);
void StopTimerThread();  // lets the thread finish and joins it

// ---- Clock: stands still until the test moves it
void SetClockMilliseconds(uint32_t now);

// ---- Command state
enum CommandsShown { CommandsPlaying, CommandsIdle };
void ResetCommandRecorder();
std::vector<CommandsShown> CommandsShownLog();
// Runs once, inside the next ShowCommandsPlaying or ShowCommandsIdle, before
// that call is recorded: what the window's thread might do meanwhile.
void RunOnNextCommandShown(std::function<void()> hook);
